#pragma once

#include "textops/Addition.h"

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace textops::ui {

// The addition dialog: the addend, the radix and where the number is. One instance lives as
// long as the main window, so its settings persist between uses.
class TKelvoKasanForm : public QDialog {
    Q_OBJECT

public:
    explicit TKelvoKasanForm(QWidget* parent = nullptr);

    AdditionSettings settings() const;
    Radix radix() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The click handler of the three radix buttons.
    void SpeedButton1Click();

    QPushButton* SpeedButton1;
    QPushButton* SpeedButton2;
    QPushButton* SpeedButton3;
    QButtonGroup* radixButtons_;
    QLabel* Label5;
    QLabel* Label2;
    QGroupBox* GroupBox1;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QLabel* Label3;
    // The digit count is typed into Edit2, the up-down control's own edit, and cannot leave
    // the range 1 to 8.
    QSpinBox* UpDown1;
    QLineEdit* Edit2;
    QLabel* Label1;
    QLineEdit* Edit1;
    QLabel* Label4;
    QPushButton* Button1;
    QPushButton* Button2;
};

}  // namespace textops::ui
