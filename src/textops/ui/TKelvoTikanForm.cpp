#include "textops/ui/TKelvoTikanForm.h"

#include "textops/ui/DialogPlacement.h"
#include "ui/UiFonts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace textops::ui {

TKelvoTikanForm::TKelvoTikanForm(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      CheckBox1(new QCheckBox(QStringLiteral("大文字/小文字を無視"), this)),
      Label1(new QLabel(QStringLiteral("検索文字列"), this)),
      Edit1(new QLineEdit(this)),
      Label2(new QLabel(QStringLiteral("置換文字列"), this)),
      Edit2(new QLineEdit(this)),
      Button1(new QPushButton(QStringLiteral("実行"), this)),
      Button2(new QPushButton(QStringLiteral("取り消し"), this))
{
    setObjectName(QStringLiteral("TKelvoTikanForm"));
    setWindowTitle(QStringLiteral("文字列置換"));
    setModal(true);
    setFont(::ui::tahomaFont(12));
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));

    CheckBox1->setChecked(true);
    QFont editFont = ::ui::tahomaFont(12);
    editFont.setBold(true);
    for (QLineEdit* edit : {Edit1, Edit2}) {
        edit->setFont(editFont);
        edit->setMinimumWidth(260);
    }
    Button1->setDefault(true);
    Button2->setAutoDefault(false);

    auto* fieldsLayout = new QGridLayout;
    fieldsLayout->addWidget(Label1, 0, 0);
    fieldsLayout->addWidget(Edit1, 0, 1);
    fieldsLayout->addWidget(Label2, 1, 0);
    fieldsLayout->addWidget(Edit2, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CheckBox1);
    layout->addLayout(fieldsLayout);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    FormCreate();
}

void TKelvoTikanForm::FormCreate()
{
    Edit1->clear();
    Edit2->clear();
}

void TKelvoTikanForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreOnScreen(*this);
    Edit1->setFocus();
}

TikanFields TKelvoTikanForm::fields() const
{
    return {Edit1->text().toStdU16String(), Edit2->text().toStdU16String()};
}

void TKelvoTikanForm::setFields(const TikanFields& fields)
{
    Edit1->setText(QString::fromStdU16String(fields.Edit1));
    Edit2->setText(QString::fromStdU16String(fields.Edit2));
}

MatchCase TKelvoTikanForm::everyLineMatchCase() const
{
    return CheckBox1->isChecked() ? MatchCase::IgnoreCase : MatchCase::Exact;
}

}  // namespace textops::ui
