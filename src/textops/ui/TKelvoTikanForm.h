#pragma once

#include "textops/ReplaceCommands.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace textops::ui {

// The replace dialog: search string, replacement and the ignore-case choice. One instance
// lives as long as the main window, so its fields keep their texts between uses.
class TKelvoTikanForm : public QDialog {
    Q_OBJECT

public:
    explicit TKelvoTikanForm(QWidget* parent = nullptr);

    TikanFields fields() const;
    void setFields(const TikanFields& fields);
    // CheckBox1; only the every-line replace honours it.
    MatchCase everyLineMatchCase() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();

    QCheckBox* CheckBox1;
    QLabel* Label1;
    QLineEdit* Edit1;
    QLabel* Label2;
    QLineEdit* Edit2;
    QPushButton* Button1;
    QPushButton* Button2;
};

}  // namespace textops::ui
