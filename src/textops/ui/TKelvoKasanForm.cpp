#include "textops/ui/TKelvoKasanForm.h"

#include "textops/ui/DialogPlacement.h"
#include "ui/UiFonts.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace textops::ui {

namespace {

QPushButton* radixButton(const QString& caption, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setCheckable(true);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

TKelvoKasanForm::TKelvoKasanForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      SpeedButton1(radixButton(QStringLiteral("10 進"), "SpeedButton1", this)),
      SpeedButton2(radixButton(QStringLiteral("16 進"), "SpeedButton2", this)),
      SpeedButton3(radixButton(QStringLiteral("8 進"), "SpeedButton3", this)),
      radixButtons_(new QButtonGroup(this)),
      Label5(new QLabel(QStringLiteral("10 進"), this)),
      Label2(new QLabel(QStringLiteral("数値検出"), this)),
      GroupBox1(new QGroupBox(this)),
      RadioButton1(new QRadioButton(QStringLiteral("先頭から"), GroupBox1)),
      RadioButton2(new QRadioButton(QStringLiteral("末尾から"), GroupBox1)),
      Label3(new QLabel(QStringLiteral("対象桁数"), this)),
      UpDown1(new QSpinBox(this)),
      Edit2(UpDown1->findChild<QLineEdit*>()),
      Label1(new QLabel(QStringLiteral("加算数"), this)),
      Edit1(new QLineEdit(QStringLiteral("1"), this)),
      Label4(new QLabel(QStringLiteral("(10進表記)"), this)),
      Button1(new QPushButton(QStringLiteral("実行"), this)),
      Button2(new QPushButton(QStringLiteral("取り消し"), this))
{
    setObjectName(QStringLiteral("TKelvoKasanForm"));
    setWindowTitle(QStringLiteral("加算"));
    setModal(true);
    setFont(::ui::tahomaFont(12));
    Label5->setObjectName(QStringLiteral("Label5"));
    Label2->setObjectName(QStringLiteral("Label2"));
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    Label3->setObjectName(QStringLiteral("Label3"));
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label4->setObjectName(QStringLiteral("Label4"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));

    radixButtons_->setExclusive(true);
    radixButtons_->addButton(SpeedButton1, static_cast<int>(Radix::Decimal));
    radixButtons_->addButton(SpeedButton2, static_cast<int>(Radix::Hexadecimal));
    radixButtons_->addButton(SpeedButton3, static_cast<int>(Radix::Octal));
    SpeedButton1->setChecked(true);

    QFont large = ::ui::tahomaFont(20);
    large.setBold(true);
    Label5->setFont(large);
    Label5->setAlignment(Qt::AlignCenter);

    RadioButton2->setChecked(true);
    Label3->setEnabled(false);
    UpDown1->setRange(minDigitCount, maxDigitCount);
    UpDown1->setValue(2);
    UpDown1->setAlignment(Qt::AlignCenter);
    UpDown1->setEnabled(false);

    Edit1->setAlignment(Qt::AlignRight);
    Edit1->setAttribute(Qt::WA_InputMethodEnabled, false);
    Button1->setDefault(true);
    Button2->setAutoDefault(false);

    auto* radixRow = new QHBoxLayout;
    radixRow->addWidget(SpeedButton1);
    radixRow->addWidget(SpeedButton2);
    radixRow->addWidget(SpeedButton3);
    radixRow->addWidget(Label5);
    auto* direction = new QHBoxLayout(GroupBox1);
    direction->addWidget(RadioButton1);
    direction->addWidget(RadioButton2);
    auto* grid = new QGridLayout;
    grid->addWidget(Label2, 0, 0);
    grid->addWidget(GroupBox1, 0, 1, 1, 2);
    grid->addWidget(Label3, 1, 0);
    grid->addWidget(UpDown1, 1, 1);
    grid->addWidget(Label1, 2, 0);
    grid->addWidget(Edit1, 2, 1);
    grid->addWidget(Label4, 2, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(radixRow);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(radixButtons_, &QButtonGroup::buttonClicked, this, [this] { SpeedButton1Click(); });
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TKelvoKasanForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreOnScreen(*this);
    Edit1->setFocus();
    Edit1->selectAll();
}

Radix TKelvoKasanForm::radix() const
{
    return static_cast<Radix>(radixButtons_->checkedId());
}

void TKelvoKasanForm::SpeedButton1Click()
{
    const KasanRadixView view = kasanRadixEffects(radix());
    RadioButton2->setChecked(view.RadioButton2Checked);
    RadioButton1->setEnabled(view.directionEnabled);
    RadioButton2->setEnabled(view.directionEnabled);
    Label3->setEnabled(view.digitCountEnabled);
    UpDown1->setEnabled(view.digitCountEnabled);
    Label5->setText(QString::fromStdU16String(std::u16string(view.Label5Caption)));
}

AdditionSettings TKelvoKasanForm::settings() const
{
    return readAdditionSettings(Edit1->text().toStdU16String(), RadioButton2->isChecked(), radix(), UpDown1->value());
}

}  // namespace textops::ui
