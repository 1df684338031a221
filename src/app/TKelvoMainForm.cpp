#include "app/TKelvoMainForm.h"

#include "app/AppInfo.h"
#include "app/AppPaths.h"
#include "app/KelvoSettings.h"
#include "app/ProfileFile.h"
#include "app/UpperCaseValidator.h"
#include "cadlink/TargetProgID.h"
#include "cadlink/ui/TTargetCADForm.h"
#include "editor/ui/LineEditorPage.h"
#include "grid/ui/GridPage.h"
#include "search/ui/SearchPage.h"
#include "taglists/TagLists.h"
#include "textops/ui/TextToolCommands.h"
#include "ui/TopmostHandOver.h"
#include "ui/UiFonts.h"
#include "ui/UserMessages.h"
#include "ui_TKelvoMainForm.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QStringList>
#include <QTimer>

#include <exception>
#include <stdexcept>

namespace app {

namespace {

constexpr int kTimerInterval = 200;
constexpr int kStatusPanelWidths[] = {150, 100};

void fillCombo(QComboBox& combo, std::vector<std::u16string> items)
{
    taglists::sortIgnoringCase(items);
    combo.clear();
    for (const std::u16string& item : items)
        combo.addItem(QString::fromStdU16String(item));
}

QAction* addItem(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

}  // namespace

TKelvoMainForm::TKelvoMainForm(std::filesystem::path executablePath, ui::UserMessages& messages,
                               taglists::TextFileLauncher& launcher, QWidget* parent)
    : QMainWindow(parent),
      ui(std::make_unique<Ui::TKelvoMainForm>()),
      executablePath_(std::move(executablePath)),
      messages_(messages),
      errors_(messages),
      tagListCommands_(messages, launcher),
      Timer1(new QTimer(this)),
      PopupMenu1(new QMenu(this)),
      PopupMenu2(new QMenu(this)),
      PopupMenu3(new QMenu(this)),
      tagList_(listPathFor(executablePath_, kTagListName)),
      tagGroupList_(listPathFor(executablePath_, kTagGroupListName))
{
    ui->setupUi(this);
    applyWindowFlags();
    applyFonts();
    createStatusPanels();
    createPopupMenus();

    // The built-in items stay when no tag list file exists.
    fillCombo(*ui->ComboBox1, taglists::builtInTagItems());
    fillCombo(*ui->ComboBox2, taglists::builtInTagGroupItems());

    for (QLineEdit* edit : {ui->Edit1, ui->Edit2}) {
        edit->setAlignment(Qt::AlignRight);
        // Numbers only: the input method stays closed here even after Japanese typing elsewhere
        // (a hint alone leaves Windows' IME open).
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
        edit->setFocusPolicy(Qt::ClickFocus);
    }
    ui->StringGrid2->viewport()->installEventFilter(this);

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTimerInterval);

    errors_.run([this] { FormCreate(); });
    connectHandlers();
    lineEditorPage_ = std::make_unique<editor::LineEditorPage>(*this);
    Timer1->start();
    textToolCommands_ = std::make_unique<textops::ui::TextToolCommands>(*this);
    textToolCommands_->setUndoMark([this] { lineEditorPage_->UndoMark(true); });
    gridPage_ = std::make_unique<grid::GridPage>(*this);
    textToolCommands_->setGridPage(*gridPage_);
    searchPage_ = std::make_unique<search::SearchPage>(*this);
}

TKelvoMainForm::~TKelvoMainForm()
{
    errors_.run([this] { FormDestroy(); });
}

void TKelvoMainForm::FormDestroy()
{
    // The timer must not tick into a page that is going away.
    Timer1->stop();
    entities_ = {};
}

void TKelvoMainForm::applyWindowFlags()
{
    // A tool window beside the CAD application: always on top, minimisable, not maximisable.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
}

void TKelvoMainForm::applyFonts()
{
    setFont(ui::tahomaFont(12));
    ui->SynEdit1->setFont(ui::gothicFixedFont(15));
    ui->Edit3->setFont(ui::tahomaFont(13));
    ui->Label8->setFont(ui::tahomaFont(11));
}

void TKelvoMainForm::createStatusPanels()
{
    for (int i = 0; i < 2; ++i) {
        auto* panel = new QLabel(ui->StatusBar1);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFixedWidth(kStatusPanelWidths[i]);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        ui->StatusBar1->addWidget(panel);
        statusPanels_[static_cast<size_t>(i)] = panel;
    }
}

void TKelvoMainForm::createPopupMenus()
{
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    addItem(PopupMenu1, "N20", QStringLiteral("クリア"));
    PopupMenu1->addSeparator();
    addItem(PopupMenu1, "N10", QStringLiteral("カット"));
    addItem(PopupMenu1, "N11", QStringLiteral("コピー"));
    addItem(PopupMenu1, "N12", QStringLiteral("ペースト"));
    PopupMenu1->addSeparator();
    addItem(PopupMenu1, "N1", QStringLiteral("すべて全角に"));
    addItem(PopupMenu1, "N2", QStringLiteral("選択範囲を全角に"));
    addItem(PopupMenu1, "N4", QStringLiteral("すべて半角に"));
    addItem(PopupMenu1, "N5", QStringLiteral("選択範囲を半角に"));
    addItem(PopupMenu1, "N28", QStringLiteral("すべての半角 ( ) を全角に "));
    QMenu* N21 = PopupMenu1->addMenu(QStringLiteral("その他のすべてを変換"));
    N21->setObjectName(QStringLiteral("N21"));
    N21->menuAction()->setObjectName(QStringLiteral("N21"));
    addItem(N21, "N23", QStringLiteral("半角カタカナを全角に"));
    addItem(N21, "N24", QStringLiteral("全角カタカナを半角に"));
    N21->addSeparator();
    addItem(N21, "N091", QStringLiteral("半角数字(0..9)を全角に"));
    addItem(N21, "N092", QStringLiteral("全角数字(0..9)を半角に"));
    addItem(N21, "N094", QStringLiteral("半角数値(0..9+-.,)を全角に"));
    addItem(N21, "N093", QStringLiteral("全角数値(0..9+-.,)を半角に"));
    N21->addSeparator();
    addItem(N21, "AZ1", QStringLiteral("半角アルファベット(A..Z)を全角に"));
    addItem(N21, "AZ2", QStringLiteral("全角アルファベット(A..Z)を半角に"));
    N21->addSeparator();
    addItem(N21, "N27", QStringLiteral("半角記号を全角に"));
    addItem(N21, "N26", QStringLiteral("全角記号を半角に"));
    PopupMenu1->addSeparator();
    addItem(PopupMenu1, "N7", QStringLiteral("すべて置換"));
    addItem(PopupMenu1, "N8", QStringLiteral("選択範囲を置換"));
    PopupMenu1->addSeparator();
    addItem(PopupMenu1, "N14", QStringLiteral("すべて加算"));
    addItem(PopupMenu1, "N15", QStringLiteral("選択範囲を加算"));
    PopupMenu1->addSeparator();
    addItem(PopupMenu1, "N17", QStringLiteral("連番作成"));
    PopupMenu1->addSeparator();
    addItem(PopupMenu1, "N39", QStringLiteral("■ タグリストを編集（メモ帳を起動）"));
    addItem(PopupMenu1, "N40", QStringLiteral("■ タグリストを再読み込み"));
    PopupMenu1->addSeparator();
    addItem(PopupMenu1, "N25", QStringLiteral("バージョン情報"));
    PopupMenu1->addSeparator();
    addItem(PopupMenu1, "N19", QStringLiteral("取り消し"));

    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    addItem(PopupMenu2, "AG1", QStringLiteral("■TAG リスト編集(メモ帳起動)"));
    addItem(PopupMenu2, "AG2", QStringLiteral("■TAG リストを再読み込み"));
    PopupMenu2->addSeparator();
    addItem(PopupMenu2, "N32", QStringLiteral("選択範囲のスペース以外を全角に"));
    addItem(PopupMenu2, "N33", QStringLiteral("選択範囲を半角に"));
    PopupMenu2->addSeparator();
    addItem(PopupMenu2, "N35", QStringLiteral("選択範囲を置換"));
    PopupMenu2->addSeparator();
    addItem(PopupMenu2, "N36", QStringLiteral("選択範囲の半角数字を加算"));
    addItem(PopupMenu2, "N42", QStringLiteral("選択範囲を加算"));
    PopupMenu2->addSeparator();
    addItem(PopupMenu2, "N31", QStringLiteral("連番作成"));

    PopupMenu3->setObjectName(QStringLiteral("PopupMenu3"));
    addItem(PopupMenu3, "N47", QStringLiteral("すべて選択"));
    addItem(PopupMenu3, "N44", QStringLiteral("選択範囲を置換"));
    PopupMenu3->addSeparator();
    addItem(PopupMenu3, "N46", QStringLiteral("取り消し"));

    const auto attach = [](QWidget* owner, QMenu* menu) {
        connect(owner, &QWidget::customContextMenuRequested, menu,
                [owner, menu](const QPoint& pos) { menu->popup(owner->mapToGlobal(pos)); });
    };
    attach(ui->SynEdit1, PopupMenu1);
    attach(ui->StringGrid1, PopupMenu2);
    attach(ui->StringGrid2, PopupMenu3);
}

void TKelvoMainForm::connectHandlers()
{
    connect(ui->PageControl1, &QTabWidget::currentChanged, this, guarded(&TKelvoMainForm::PageControl1Change));
    connect(Timer1, &QTimer::timeout, this, guarded(&TKelvoMainForm::Timer1Timer));
    connect(ui->SpeedButton7, &QPushButton::clicked, this, guarded(&TKelvoMainForm::SpeedButton7Click));
    connect(ui->CheckBox4, &QCheckBox::clicked, this, guarded(&TKelvoMainForm::CheckBox4Click));
    const auto connectItem = [this](QMenu* menu, const char* name, void (TKelvoMainForm::*handler)()) {
        QAction* action = menu->findChild<QAction*>(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, guarded(handler));
    };
    connectItem(PopupMenu1, "N25", &TKelvoMainForm::N25Click);
    connectItem(PopupMenu1, "N39", &TKelvoMainForm::N39Click);
    connectItem(PopupMenu1, "N40", &TKelvoMainForm::N40Click);
    connectItem(PopupMenu2, "AG1", &TKelvoMainForm::AG1Click);
    connectItem(PopupMenu2, "AG2", &TKelvoMainForm::AG2Click);
}

std::filesystem::path TKelvoMainForm::listPath(std::u16string_view fileName) const
{
    return listPathFor(executablePath_, fileName);
}

void TKelvoMainForm::FormCreate()
{
    cadlink::TargetProgID = cadlink::kDefaultTargetProgID;

    for (QLineEdit* edit : {ui->Edit1, ui->Edit2})
        edit->clear();
    for (QLabel* label : {ui->Label1, ui->Label2, ui->Label5, ui->Label6})
        label->clear();

    // StringGrid1's fixed column gets its 30 pixels from the grid page, which owns the
    // grid's fixed rows and columns.
    ui->PageControl1->setCurrentIndex(0);
    ui->StringGrid2->setColumnWidth(0, ui->StringGrid2->width());
    ui->SynEdit1->clear();

    // The window is centred unless the settings say otherwise; a saved position is used as
    // it is, even off every screen.
    // The native window knows its frame, so the centred position counts the borders too.
    winId();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect frame = frameGeometry();
    const ProfileFile profile(settingsPathFor(executablePath_));
    const KelvoSettings settings =
        loadSettings(profile, (screen.width() - frame.width()) / 2, (screen.height() - frame.height()) / 2);
    move(settings.left, settings.top);
    cadlink::TargetProgID = settings.progId;
    ui->CheckBox1->setChecked(settings.sort);
    ui->CheckBox2->setChecked(settings.cursor);
    ui->CheckBox3->setChecked(settings.sentou);
    ui->CheckBox4->setChecked(settings.upperCase);
    ui->CheckBox5->setChecked(settings.enter);
    ui->CheckBox6->setChecked(settings.zoomCenter);
    ui->CheckBox7->setChecked(settings.attEnter);
    ui->CheckBox8->setChecked(settings.attEnterDown);
    ui->CheckBox9->setChecked(settings.zoomCenter2);

    CheckBox4Click();

    if (const auto cadList = taglists::readListFile(listPath(kTargetCadListName))) {
        if (const auto name = taglists::displayNameFor(cadList->lines, cadlink::TargetProgID))
            showTargetName(QString::fromStdU16String(*name));
    }

    // A list that cannot be read does not keep the other from loading; the failure is shown
    // after both were tried.
    std::exception_ptr failure;
    const auto attempt = [&failure](auto&& load) {
        try {
            load();
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    };
    attempt([&] { loadTagList(tagList_, *ui->ComboBox1, settings.attTagIndex1); });
    attempt([&] { loadTagList(tagGroupList_, *ui->ComboBox2, settings.attTagIndex2); });
    if (failure)
        std::rethrow_exception(failure);
}

void TKelvoMainForm::loadTagList(taglists::TrackedListFile& file, QComboBox& combo, int32_t remembered)
{
    if (auto content = file.read())
        fillCombo(combo, std::move(content->lines));
    combo.setCurrentIndex(taglists::rememberedPosition(remembered, static_cast<size_t>(combo.count())));
}

void TKelvoMainForm::reloadTagList(taglists::TrackedListFile& file, QComboBox& combo)
{
    taglists::TextEncoding encoding = file.encoding();
    if (const auto content = tagListCommands_.reload(file.path(), combo, encoding))
        file.remember(*content);
}

void TKelvoMainForm::showTargetName(const QString& displayName)
{
    setWindowTitle(applicationTitle() + QStringLiteral(" [ ") + displayName + QStringLiteral(" ]"));
}

void TKelvoMainForm::setTargetCadForm(cadlink::TTargetCADForm* form)
{
    targetCadForm_ = form;
    if (form)
        connect(form, &cadlink::TTargetCADForm::targetChosen, this, &TKelvoMainForm::showTargetName);
}

void TKelvoMainForm::saveSession()
{
    errors_.run([this] { FormCloseQuery(); });
}

void TKelvoMainForm::closeEvent(QCloseEvent* event)
{
    saveSession();
    // The close is never refused.
    event->accept();
}

void TKelvoMainForm::FormCloseQuery()
{
    KelvoSettings settings;
    settings.left = pos().x();
    settings.top = pos().y();
    settings.progId = cadlink::TargetProgID;
    settings.sort = ui->CheckBox1->isChecked();
    settings.attTag = ui->ComboBox1->currentText().toStdU16String();
    settings.attTagIndex2 = ui->ComboBox2->currentIndex();
    settings.cursor = ui->CheckBox2->isChecked();
    settings.attTagIndex1 = ui->ComboBox1->currentIndex();
    settings.sentou = ui->CheckBox3->isChecked();
    settings.upperCase = ui->CheckBox4->isChecked();
    settings.enter = ui->CheckBox5->isChecked();
    settings.zoomCenter = ui->CheckBox6->isChecked();
    settings.attEnter = ui->CheckBox7->isChecked();
    settings.attEnterDown = ui->CheckBox8->isChecked();
    settings.zoomCenter2 = ui->CheckBox9->isChecked();

    const auto itemsOf = [](const QComboBox& combo) {
        std::vector<std::u16string> items;
        items.reserve(static_cast<size_t>(combo.count()));
        for (int i = 0; i < combo.count(); ++i)
            items.push_back(combo.itemText(i).toStdU16String());
        return items;
    };

    // Each file is tried even when an earlier one failed, and the user hears of the failures
    // once: the window closes all the same.
    QStringList failures;
    const auto attempt = [&failures](auto&& write) {
        try {
            write();
        } catch (const std::exception& e) {
            failures << QString::fromUtf8(e.what());
        }
    };
    attempt([&] {
        ProfileFile profile(settingsPathFor(executablePath_));
        saveSettings(profile, settings);
    });
    // The combos change only at start and on reload: a list the user edited in the text
    // editor since then keeps the edits.
    attempt([&] { tagList_.writeUnlessChangedElsewhere(itemsOf(*ui->ComboBox1)); });
    attempt([&] { tagGroupList_.writeUnlessChangedElsewhere(itemsOf(*ui->ComboBox2)); });
    if (!failures.isEmpty())
        messages_.show(ui::UserMessages::Kind::Error, failures.join(u'\n'));
}

void TKelvoMainForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    errors_.run([this] { FormResize(); });
}

bool TKelvoMainForm::eventFilter(QObject* watched, QEvent* event)
{
    // The grid gets its size from the page layout after the window's resize event: follow
    // its own size changes as well.
    if (watched == ui->StringGrid2->viewport() && event->type() == QEvent::Resize)
        errors_.run([this] { FormResize(); });
    return QMainWindow::eventFilter(watched, event);
}

void TKelvoMainForm::FormResize()
{
    // The only column spans the grid's visible width, so no horizontal scroll bar appears.
    ui->StringGrid2->setColumnWidth(0, ui->StringGrid2->viewport()->width());
}

void TKelvoMainForm::setAutomation(automation::RunningObjects& runningObjects, cadlink::WindowServices& windows,
                                   cadlink::OwnWindow& ownWindow)
{
    runningObjects_ = &runningObjects;
    windows_ = &windows;
    ownWindow_ = &ownWindow;
}

std::optional<textops::TikanFields> TKelvoMainForm::runReplaceDialog(textops::ReplaceCommand command,
                                                                    const std::optional<std::u16string>& prefillSource)
{
    return textToolCommands_->runReplaceDialog(command, prefillSource);
}

cadlink::CadLink TKelvoMainForm::cadLink() const
{
    if (!runningObjects_ || !windows_ || !ownWindow_)
        throw std::logic_error("the main window has no automation link");
    return cadlink::CadLink{*runningObjects_, *windows_, *ownWindow_, cadlink::TargetProgID};
}

void TKelvoMainForm::PageControl1Change()
{
    setStatusPanelText(0, QString());
    setStatusPanelText(1, QString());
}

void TKelvoMainForm::Timer1Timer()
{
    if (ui->PageControl1->currentIndex() != 0)
        return;
    // The refresh may let pending messages through; the timer must not tick inside it.
    Timer1->stop();
    refreshLineEditorStatus();
    Timer1->start();
}

void TKelvoMainForm::refreshLineEditorStatus()
{
    if (lineEditorPage_)
        lineEditorPage_->refreshLineEditorStatus();
}

void TKelvoMainForm::CheckBox4Click()
{
    // Edit3 takes typed letters in upper case while "a->A" is checked.
    const QValidator* previous = ui->Edit3->validator();
    if (ui->CheckBox4->isChecked())
        ui->Edit3->setValidator(new UpperCaseValidator(ui->Edit3));
    else
        ui->Edit3->setValidator(nullptr);
    delete previous;
}

void TKelvoMainForm::N25Click()
{
    messages_.show(ui::UserMessages::Kind::Information,
                   applicationName() + QStringLiteral("\nバージョン ") + applicationVersion() +
                       QStringLiteral("\nリリース日 ") + applicationReleaseDate() +
                       QStringLiteral("\n\nCAD 図面の TEXT と属性を一括で編集するツール"));
}

void TKelvoMainForm::SpeedButton7Click()
{
    if (targetCadForm_)
        ui::runModalWithTopmostHandOver(*this, *targetCadForm_);
}

void TKelvoMainForm::N39Click()
{
    tagListCommands_.launchEditor(tagList_.path());
}

void TKelvoMainForm::N40Click()
{
    reloadTagList(tagList_, *ui->ComboBox1);
}

void TKelvoMainForm::AG1Click()
{
    tagListCommands_.launchEditor(tagGroupList_.path());
}

void TKelvoMainForm::AG2Click()
{
    reloadTagList(tagGroupList_, *ui->ComboBox2);
}

QString TKelvoMainForm::statusPanelText(int panel) const
{
    return statusPanels_.at(static_cast<size_t>(panel))->text();
}

void TKelvoMainForm::setStatusPanelText(int panel, const QString& text)
{
    statusPanels_.at(static_cast<size_t>(panel))->setText(text);
}

}  // namespace app
