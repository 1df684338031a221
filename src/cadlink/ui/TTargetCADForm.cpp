#include "cadlink/ui/TTargetCADForm.h"

#include "cadlink/TargetProgID.h"
#include "ui/UiFonts.h"
#include "ui_TTargetCADForm.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace cadlink {

namespace {
QString toQString(const std::u16string& text) { return QString::fromStdU16String(text); }
}

TTargetCADForm::TTargetCADForm(std::filesystem::path listPath, ui::UserMessages& messages, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TTargetCADForm>()), listPath_(std::move(listPath)), errors_(messages)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(315, 307);
    setFont(ui::tahomaFont(11));
    ui->ListBox1->setFont(ui::tahomaFont(13));
    ui->Label1->setFont(ui::tahomaFont(12));
    ui->Label2->setFont(ui::tahomaFont(12));
    for (QLineEdit* edit : {ui->Edit1, ui->Edit2}) {
        edit->setFont(ui::tahomaFont(13));
        // Names and ProgIDs in Latin letters: the input method stays closed.
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
        edit->installEventFilter(this);
    }
    // Enter in the edit boxes changes the line; no button may take it as the default.
    for (QPushButton* button : {ui->SpeedButton1, ui->SpeedButton2, ui->SpeedButton3, ui->Button1, ui->Button2}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    for (QPushButton* button : {ui->SpeedButton1, ui->SpeedButton2, ui->SpeedButton3})
        button->setFocusPolicy(Qt::NoFocus);

    const auto guarded = [this](void (TTargetCADForm::*handler)()) {
        return [this, handler] { errors_.run([this, handler] { (this->*handler)(); }); };
    };
    connect(ui->ListBox1, &QListWidget::currentRowChanged, this, [this, guarded](int row) {
        if (!showingList_ && row >= 0)
            guarded(&TTargetCADForm::ListBox1Click)();
    });
    connect(ui->ListBox1, &QListWidget::itemClicked, this, guarded(&TTargetCADForm::ListBox1Click));
    connect(ui->SpeedButton1, &QPushButton::clicked, this, guarded(&TTargetCADForm::SpeedButton1Click));
    connect(ui->SpeedButton2, &QPushButton::clicked, this, guarded(&TTargetCADForm::SpeedButton2Click));
    connect(ui->SpeedButton3, &QPushButton::clicked, this, guarded(&TTargetCADForm::SpeedButton3Click));
    connect(ui->Button1, &QPushButton::clicked, this, guarded(&TTargetCADForm::Button1Click));
    connect(ui->Button2, &QPushButton::clicked, this, &QDialog::reject);
}

TTargetCADForm::~TTargetCADForm() = default;

void TTargetCADForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    errors_.run([this] { FormShow(); });
}

bool TTargetCADForm::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == ui->Edit1 || watched == ui->Edit2) && event->type() == QEvent::KeyPress &&
        Edit1KeyPress(*static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

bool TTargetCADForm::Edit1KeyPress(const QKeyEvent& event)
{
    if (event.key() != Qt::Key_Return && event.key() != Qt::Key_Enter)
        return false;
    // Consumed even when the change fails: Enter is never typed and never reaches a button.
    errors_.run([this] { SpeedButton3Click(); });
    return true;
}

void TTargetCADForm::FormShow()
{
    auto content = taglists::readListFile(listPath_);
    if (!content)
        return;
    listEncoding_ = content->encoding;
    list_.load(std::move(content->lines));
    showList();
    if (const auto match = list_.findProgId(TargetProgID)) {
        selectLine(static_cast<int>(*match));
        ListBox1Click();
    } else {
        selectLine(-1);
    }
}

void TTargetCADForm::ListBox1Click()
{
    const auto entry = TargetCadList::splitLine(list_.line(ui->ListBox1->currentRow()));
    ui->Edit1->setText(toQString(entry.name));
    ui->Edit2->setText(toQString(entry.progId));
}

void TTargetCADForm::SpeedButton1Click()
{
    const std::u16string line =
        TargetCadList::joinLine(ui->Edit1->text().toStdU16String(), ui->Edit2->text().toStdU16String());
    list_.add(line);
    showList();
    if (const auto match = list_.findIgnoringCase(line)) {
        selectLine(static_cast<int>(*match));
        ListBox1Click();
    }
    writeList();
}

void TTargetCADForm::SpeedButton2Click()
{
    const int index = ui->ListBox1->currentRow();
    ui->Edit1->clear();
    ui->Edit2->clear();
    if (index >= 0) {
        list_.remove(index);
        showList();
    }
    // With nothing selected in a non-empty list this selects position -1, and ListBox1Click
    // reports the index error before anything is written.
    if (list_.size() > static_cast<size_t>(index + 1)) {
        selectLine(index);
        ListBox1Click();
    } else if (index - 1 >= 0) {
        selectLine(index - 1);
        ListBox1Click();
    } else {
        selectLine(-1);
    }
    writeList();
}

void TTargetCADForm::SpeedButton3Click()
{
    const int index = ui->ListBox1->currentRow();
    list_.change(index,
                 TargetCadList::joinLine(ui->Edit1->text().toStdU16String(), ui->Edit2->text().toStdU16String()));
    showList();
    selectLine(index);
    writeList();
}

void TTargetCADForm::Button1Click()
{
    emit targetChosen(ui->Edit1->text());
    TargetProgID = ui->Edit2->text().toStdU16String();
    accept();
}

void TTargetCADForm::showList()
{
    showingList_ = true;
    ui->ListBox1->clear();
    for (const std::u16string& line : list_.lines())
        ui->ListBox1->addItem(toQString(line));
    ui->ListBox1->setCurrentRow(-1);
    showingList_ = false;
}

void TTargetCADForm::selectLine(int index)
{
    showingList_ = true;
    ui->ListBox1->setCurrentRow(index);
    showingList_ = false;
}

void TTargetCADForm::writeList()
{
    listEncoding_ = taglists::writeListFile(listPath_, list_.lines(), listEncoding_);
}

}  // namespace cadlink
