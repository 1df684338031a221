#pragma once

#include "app/InstanceMarkerWindow.h"
#include "cadlink/CadConnection.h"
#include "editor/records/EntityArrays.h"
#include "editor/records/LineEditorFields.h"
#include "taglists/ListFile.h"
#include "taglists/ui/TagListCommands.h"
#include "textops/ReplaceCommands.h"
#include "ui/DefaultErrorHandler.h"
#include "ui/PageContract.h"

#include <QMainWindow>
#include <QString>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class QComboBox;
class QLabel;
class QMenu;
class QTimer;

namespace Ui {
class TKelvoMainForm;
}

namespace cadlink {
class TTargetCADForm;
}

namespace taglists {
class TextFileLauncher;
}

namespace textops::ui {
class TextToolCommands;
}

namespace editor {
class LineEditorPage;
}

namespace grid {
class GridPage;
}

namespace search {
class SearchPage;
}

namespace app {


// The main window: three pages (line editor, attribute grid, TEXT search), the status bar and
// the 200 ms timer. It restores the settings and tag lists when it is created and saves them
// whenever it is closed. The settings and list files lie beside executablePath.
class TKelvoMainForm : public QMainWindow, public ui::PageContract {
    Q_OBJECT

public:
    TKelvoMainForm(std::filesystem::path executablePath, ui::UserMessages& messages,
                   taglists::TextFileLauncher& launcher, QWidget* parent = nullptr);
    ~TKelvoMainForm() override;

    // Writes the settings and both lists as a close does, without closing: for a session
    // end that may never get as far as closing the window.
    void saveSession();

    // The target CAD dialog is created after the main window; SpeedButton7 opens it.
    void setTargetCadForm(cadlink::TTargetCADForm* form);
    // The caption with the display name of the target CAD application.
    void showTargetName(const QString& displayName);

    QString statusPanelText(int panel) const override;
    void setStatusPanelText(int panel, const QString& text) override;

    // What the pages share (ui::PageContract). Each page is a class of its own that reaches
    // its controls through controls() and the CAD application through cadLink().
    Ui::TKelvoMainForm& controls() override { return *ui; }
    QWidget& mainWindow() override { return *this; }
    ui::UserMessages& messages() override { return messages_; }
    ui::DefaultErrorHandler& errors() override { return errors_; }
    // The running objects and window services every CAD operation goes through; set once
    // by the program before the window is shown.
    void setAutomation(automation::RunningObjects& runningObjects, cadlink::WindowServices& windows,
                       cadlink::OwnWindow& ownWindow);
    // The link to the target CAD application named by TargetProgID now; throws when the
    // automation has not been set.
    cadlink::CadLink cadLink() const override;

    // The records of all three pages (runFlag, the Stop request, comes with ui::PageContract).
    editor::EntityArrays& entities() override { return entities_; }
    editor::LineEditorFields& lineEditorFields() override { return lineEditorFields_; }
    std::optional<textops::TikanFields> runReplaceDialog(textops::ReplaceCommand command,
                                                         const std::optional<std::u16string>& prefillSource) override;
    editor::LineEditorPage& lineEditorPage() { return *lineEditorPage_; }
    grid::GridPage& gridPage() { return *gridPage_; }
    search::SearchPage& searchPage() { return *searchPage_; }
    // The text commands and their dialogs, one of each for all pages.
    textops::ui::TextToolCommands& textToolCommands() { return *textToolCommands_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormCloseQuery();
    void FormDestroy();
    void FormResize();
    void PageControl1Change();
    void Timer1Timer();
    void N25Click();
    void SpeedButton7Click();
    void N39Click();
    void N40Click();
    void AG1Click();
    void AG2Click();
    void CheckBox4Click();

    void applyWindowFlags();
    void applyFonts();
    void createStatusPanels();
    void createPopupMenus();
    void connectHandlers();
    void loadTagList(taglists::TrackedListFile& file, QComboBox& combo, int32_t remembered);
    void reloadTagList(taglists::TrackedListFile& file, QComboBox& combo);
    void refreshLineEditorStatus();
    std::filesystem::path listPath(std::u16string_view fileName) const;

    // Runs a handler through the default error handler.
    auto guarded(void (TKelvoMainForm::*handler)())
    {
        return [this, handler] { errors_.run([this, handler] { (this->*handler)(); }); };
    }

    std::unique_ptr<Ui::TKelvoMainForm> ui;
    std::filesystem::path executablePath_;
    ui::UserMessages& messages_;
    ui::DefaultErrorHandler errors_;
    taglists::TagListCommands tagListCommands_;
    cadlink::TTargetCADForm* targetCadForm_ = nullptr;
    InstanceMarkerWindow instanceMarker_;
    automation::RunningObjects* runningObjects_ = nullptr;
    cadlink::WindowServices* windows_ = nullptr;
    cadlink::OwnWindow* ownWindow_ = nullptr;

    QTimer* Timer1;
    QMenu* PopupMenu1;
    QMenu* PopupMenu2;
    QMenu* PopupMenu3;
    std::array<QLabel*, 2> statusPanels_{};

    // The two tag lists, which the user may edit in the text editor while the program runs.
    taglists::TrackedListFile tagList_;
    taglists::TrackedListFile tagGroupList_;

    // The state of the three pages.
    editor::EntityArrays entities_;
    editor::LineEditorFields lineEditorFields_;

    std::unique_ptr<editor::LineEditorPage> lineEditorPage_;
    std::unique_ptr<grid::GridPage> gridPage_;
    std::unique_ptr<search::SearchPage> searchPage_;
    std::unique_ptr<textops::ui::TextToolCommands> textToolCommands_;
};

}  // namespace app
