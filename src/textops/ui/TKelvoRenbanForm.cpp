#include "textops/ui/TKelvoRenbanForm.h"

#include "textops/InvalidNumberError.h"
#include "textops/ui/DialogPlacement.h"
#include "ui/DefaultErrorHandler.h"
#include "ui/UiFonts.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace textops::ui {

namespace {

template <class W>
W* named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QPushButton* radixButton(const QString& caption, const char* name, QWidget* parent)
{
    auto* button = named(new QPushButton(caption, parent), name);
    button->setCheckable(true);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

TKelvoRenbanForm::TKelvoRenbanForm(::ui::DefaultErrorHandler& errors, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      errors_(errors),
      SpeedButton1(radixButton(QStringLiteral("10 進"), "SpeedButton1", this)),
      SpeedButton2(radixButton(QStringLiteral("16 進"), "SpeedButton2", this)),
      SpeedButton3(radixButton(QStringLiteral("8 進"), "SpeedButton3", this)),
      radixButtons_(new QButtonGroup(this)),
      Label5(named(new QLabel(QStringLiteral("10進"), this), "Label5")),
      Label1(named(new QLabel(QStringLiteral("前固定"), this), "Label1")),
      Edit1(named(new QLineEdit(this), "Edit1")),
      Label2(named(new QLabel(QStringLiteral("開始数"), this), "Label2")),
      Edit2(named(new QLineEdit(QStringLiteral("00"), this), "Edit2")),
      Label3(named(new QLabel(QStringLiteral("後固定"), this), "Label3")),
      Edit3(named(new QLineEdit(this), "Edit3")),
      Label6(named(new QLabel(QStringLiteral("アップ数"), this), "Label6")),
      Edit5(named(new QLineEdit(QStringLiteral("1"), this), "Edit5")),
      Label8(named(new QLabel(QStringLiteral("(10進)"), this), "Label8")),
      Label4(named(new QLabel(QStringLiteral("作成数"), this), "Label4")),
      Edit4(named(new QLineEdit(QStringLiteral("16"), this), "Edit4")),
      Label9(named(new QLabel(QStringLiteral("(10進)"), this), "Label9")),
      Label7(named(new QLabel(QStringLiteral("( 開始数なしで固定文字作成 )"), this), "Label7")),
      StaticText1(named(new QLabel(this), "StaticText1")),
      Button3(named(new QPushButton(QString::fromStdU16String(u"挿入"), this), "Button3")),
      Button1(named(new QPushButton(QString::fromStdU16String(std::u16string(appendButtonCaption)), this), "Button1")),
      Button2(named(new QPushButton(QStringLiteral("取り消し"), this), "Button2"))
{
    setObjectName(QStringLiteral("TKelvoRenbanForm"));
    setWindowTitle(QString::fromStdU16String(std::u16string(numberingCaption)));
    setModal(true);
    setFont(::ui::tahomaFont(12));

    radixButtons_->setExclusive(true);
    radixButtons_->addButton(SpeedButton1, static_cast<int>(Radix::Decimal));
    radixButtons_->addButton(SpeedButton2, static_cast<int>(Radix::Hexadecimal));
    radixButtons_->addButton(SpeedButton3, static_cast<int>(Radix::Octal));
    SpeedButton1->setChecked(true);

    QFont large = ::ui::tahomaFont(20);
    large.setBold(true);
    Label5->setFont(large);
    Label5->setAlignment(Qt::AlignCenter);

    QFont bold = ::ui::tahomaFont(12);
    bold.setBold(true);
    for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4, Edit5}) {
        edit->setAlignment(Qt::AlignCenter);
        edit->setFont(bold);
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    }
    Edit4->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), Edit4));
    StaticText1->setFont(bold);
    StaticText1->setAlignment(Qt::AlignCenter);
    StaticText1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StaticText1->setMinimumWidth(280);
    for (QPushButton* button : {Button3, Button1, Button2})
        button->setAutoDefault(false);

    auto* radixRow = new QHBoxLayout;
    radixRow->addWidget(SpeedButton1);
    radixRow->addWidget(SpeedButton2);
    radixRow->addWidget(SpeedButton3);
    radixRow->addWidget(Label5);
    auto* grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Label2, 0, 1);
    grid->addWidget(Label3, 0, 2);
    grid->addWidget(Edit1, 1, 0);
    grid->addWidget(Edit2, 1, 1);
    grid->addWidget(Edit3, 1, 2);
    grid->addWidget(Label6, 2, 0);
    grid->addWidget(Edit5, 2, 1);
    grid->addWidget(Label8, 2, 2);
    grid->addWidget(Label4, 3, 0);
    grid->addWidget(Edit4, 3, 1);
    grid->addWidget(Label9, 3, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button3);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(radixRow);
    layout->addLayout(grid);
    layout->addWidget(Label7);
    layout->addWidget(StaticText1);
    layout->addLayout(buttons);

    const auto preview = [this] { errors_.run([this] { Edit1Change(); }); };
    for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4, Edit5})
        connect(edit, &QLineEdit::textChanged, this, preview);
    connect(radixButtons_, &QButtonGroup::buttonClicked, this, preview);
    connect(Button1, &QPushButton::clicked, this,
            [this] { errors_.run([this] { Button1Click(NumberingMode::Append); }); });
    connect(Button3, &QPushButton::clicked, this,
            [this] { errors_.run([this] { Button1Click(NumberingMode::Insert); }); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    errors_.run([this] { FormCreate(); });
}

void TKelvoRenbanForm::FormCreate()
{
    Edit1Change();
}

void TKelvoRenbanForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreOnScreen(*this);
}

NumberingFields TKelvoRenbanForm::fields() const
{
    NumberingFields fields;
    fields.Edit1 = Edit1->text().toStdU16String();
    fields.Edit2 = Edit2->text().toStdU16String();
    fields.Edit3 = Edit3->text().toStdU16String();
    fields.Edit4 = Edit4->text().toStdU16String();
    fields.Edit5 = Edit5->text().toStdU16String();
    fields.radix = static_cast<Radix>(radixButtons_->checkedId());
    return fields;
}

void TKelvoRenbanForm::setOverwriteMode(bool overwrite)
{
    Button3->setEnabled(!overwrite);
    Button1->setText(QString::fromStdU16String(std::u16string(overwrite ? overwriteButtonCaption : appendButtonCaption)));
    target_ = overwrite ? NumberingTarget::Grid : NumberingTarget::LineEditor;
    // The preview follows the target. A start that cannot be read was reported when it was
    // typed; it is not reported again for opening or closing the dialog.
    try {
        Edit1Change();
    } catch (const InvalidNumberError&) {
    }
}

void TKelvoRenbanForm::Edit1Change()
{
    const NumberingPreview preview = numberingPreview(fields(), target_);
    Label6->setEnabled(preview.stepEnabled);
    Edit5->setEnabled(preview.stepEnabled);
    if (preview.Label5Caption)
        Label5->setText(QString::fromStdU16String(std::u16string(*preview.Label5Caption)));
    StaticText1->setText(QString::fromStdU16String(preview.StaticText1));
}

void TKelvoRenbanForm::Button1Click(NumberingMode mode)
{
    // Reading the fields and placing the run both throw before anything has changed, and
    // the dialog then stays open for a correction.
    const NumberingRun run(fields());
    if (generate_)
        generate_(mode, run);
    accept();
}

}  // namespace textops::ui
