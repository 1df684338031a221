#pragma once

#include "cadlink/TargetCadList.h"
#include "taglists/ListFile.h"
#include "ui/DefaultErrorHandler.h"

#include <QDialog>

#include <filesystem>
#include <memory>

class QKeyEvent;

namespace Ui {
class TTargetCADForm;
}

namespace ui {
class UserMessages;
}

namespace cadlink {

// The choice of the CAD application to drive, from the user's list of named ProgIDs, and the
// upkeep of that list. The dialog lives as long as the program and keeps its contents between
// showings; every add, delete or change is written to the list file at once.
class TTargetCADForm : public QDialog {
    Q_OBJECT

public:
    TTargetCADForm(std::filesystem::path listPath, ui::UserMessages& messages, QWidget* parent = nullptr);
    ~TTargetCADForm() override;

    const TargetCadList& list() const noexcept { return list_; }

signals:
    // OK was pressed: TargetProgID has been set and the main window shows this name.
    void targetChosen(const QString& displayName);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void ListBox1Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void Button1Click();
    // Enter in Edit1 or Edit2 runs 変更; returns whether the key was consumed.
    bool Edit1KeyPress(const QKeyEvent& event);

    void showList();
    void selectLine(int index);
    void writeList();

    std::unique_ptr<Ui::TTargetCADForm> ui;
    std::filesystem::path listPath_;
    ui::DefaultErrorHandler errors_;
    TargetCadList list_;
    taglists::TextEncoding listEncoding_ = taglists::TextEncoding::Ansi;
    bool showingList_ = false;
};

}  // namespace cadlink
