#pragma once

#include "textops/Numbering.h"

#include <QDialog>

#include <functional>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {
class DefaultErrorHandler;
}

namespace textops::ui {

// The numbering dialog: prefix, start number, suffix, step and count, with a preview of the
// first and last text. It generates the run itself when 挿入 or 追加 is clicked, and stays
// open when the run cannot be made. One instance lives as long as the main window.
class TKelvoRenbanForm : public QDialog {
    Q_OBJECT

public:
    // Places a run: into the line editor or down a grid column, as the command decides.
    // May throw; the dialog then reports the error and stays open.
    using Generate = std::function<void(NumberingMode mode, const NumberingRun& run)>;

    TKelvoRenbanForm(::ui::DefaultErrorHandler& errors, QWidget* parent = nullptr);

    NumberingFields fields() const;
    void setGenerate(Generate generate) { generate_ = std::move(generate); }
    // The grid command overwrites cells: no insert, and 追加 reads 上書き while it runs.
    void setOverwriteMode(bool overwrite);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    // The preview handler of the edits and the radix buttons.
    void Edit1Change();
    // The click handler of Button1 and Button3.
    void Button1Click(NumberingMode mode);

    ::ui::DefaultErrorHandler& errors_;
    Generate generate_;
    NumberingTarget target_ = NumberingTarget::LineEditor;

    QPushButton* SpeedButton1;
    QPushButton* SpeedButton2;
    QPushButton* SpeedButton3;
    QButtonGroup* radixButtons_;
    QLabel* Label5;
    QLabel* Label1;
    QLineEdit* Edit1;
    QLabel* Label2;
    QLineEdit* Edit2;
    QLabel* Label3;
    QLineEdit* Edit3;
    QLabel* Label6;
    QLineEdit* Edit5;
    QLabel* Label8;
    QLabel* Label4;
    QLineEdit* Edit4;
    QLabel* Label9;
    QLabel* Label7;
    QLabel* StaticText1;
    QPushButton* Button3;
    QPushButton* Button1;
    QPushButton* Button2;
};

}  // namespace textops::ui
