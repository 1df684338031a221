#include "search/ui/SearchPage.h"

#include "editor/records/EntityArrays.h"
#include "grid/GridKeys.h"
#include "grid/ui/KelvoStringGrid.h"
#include "search/SearchContext.h"
#include "search/SearchResults.h"
#include "search/TextSearch.h"
#include "ui/MessagePump.h"
#include "ui/PageContract.h"
#include "ui/UserMessages.h"
#include "ui_TKelvoMainForm.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QPainter>

namespace search {

namespace {

constexpr int kSearchPage = 2;
const QColor kLockedBackground(192, 192, 192);
const QColor kChangedText(255, 0, 0);

QString qt(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

bool isEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The grid routines speak in the system's virtual-key numbers. Letters are the same in both;
// every other key that is not ours must not pass for one (Qt's "." is 46, like Delete).
int virtualKey(int qtKey)
{
    if (isEnterKey(qtKey))
        return grid::keys::Enter;
    if (qtKey == Qt::Key_Delete)
        return grid::keys::Delete;
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return qtKey;
    return -1;
}

}  // namespace

SearchPage::SearchPage(ui::PageContract& form)
    : form_(form), StringGrid2(*form.controls().StringGrid2)
{
    setObjectName(QStringLiteral("SearchPage"));
    StringGrid2.setFixedRows(0);
    StringGrid2.setFixedCols(0);
    StringGrid2.setGridColCount(1);
    if (StringGrid2.gridRowCount() < 1)
        StringGrid2.setGridRowCount(1);
    StringGrid2.setColumnSpansWidth(true);
    form.controls().SpeedButton15->setEnabled(false);
    connectHandlers();
}

SearchPage::~SearchPage()
{
    StringGrid2.setKeyDownHandler({});
    StringGrid2.setDrawCellHandler({});
}

std::function<void()> SearchPage::guarded(void (SearchPage::*handler)())
{
    return [this, handler] {
        pump_.restart();
        form_.errors().run([this, handler] { (this->*handler)(); });
    };
}

void SearchPage::connectHandlers()
{
    auto& ui = form_.controls();
    connect(ui.SpeedButton14, &QPushButton::clicked, this, guarded(&SearchPage::SpeedButton14Click));
    connect(ui.SpeedButton15, &QPushButton::clicked, this, guarded(&SearchPage::SpeedButton15Click));
    connect(ui.SpeedButton19, &QPushButton::clicked, this, guarded(&SearchPage::N44Click));
    connect(ui.CheckBox3, &QCheckBox::clicked, this, guarded(&SearchPage::CheckBox3Click));
    connect(ui.CheckBox4, &QCheckBox::clicked, this, guarded(&SearchPage::CheckBox4Click));
    ui.Edit3->installEventFilter(this);

    QMenu* popup = form_.mainWindow().findChild<QMenu*>(QStringLiteral("PopupMenu3"));
    const auto connectItem = [this, popup](const char* name, void (SearchPage::*handler)()) {
        if (QAction* action = popup ? popup->findChild<QAction*>(QString::fromLatin1(name)) : nullptr)
            connect(action, &QAction::triggered, this, guarded(handler));
    };
    connectItem("N44", &SearchPage::N44Click);
    connectItem("N47", &SearchPage::N47Click);

    connect(&StringGrid2, &grid::KelvoStringGrid::gridClick, this, guarded(&SearchPage::StringGrid2Click));
    connect(&StringGrid2, &grid::KelvoStringGrid::editorOpening, this, [this](int col, int row) {
        form_.errors().run([this, col, row] { StringGrid2GetEditText(col, row); });
    });
    StringGrid2.setKeyDownHandler([this](int& key, Qt::KeyboardModifiers modifiers) {
        bool failed = true;
        form_.errors().run([&] {
            StringGrid2KeyDown(key, modifiers);
            failed = false;
        });
        // A Ctrl+Z, Ctrl+C, ... whose command failed is still taken; Enter still reaches the
        // grid.
        if (failed && !isEnterKey(key) && (modifiers & Qt::ControlModifier))
            key = 0;
    });
    StringGrid2.setDrawCellHandler(
        [this](QPainter& painter, const QRect& rect, int, int row, const grid::CellPaintState& state) {
            // Painting never reports errors: a box per repaint would never end.
            RowPaint paint;
            try {
                withContext([&](SearchContext& context) { paint = StringGrid2DrawCell(context, row); });
            } catch (const std::exception&) {
                return;
            }
            if (!paint.locked && !paint.changed)
                return;
            const QString text = StringGrid2.cellText(0, row);
            painter.fillRect(rect, paint.locked ? kLockedBackground : state.background);
            const QColor normal =
                StringGrid2.palette().color(state.selected ? QPalette::HighlightedText : QPalette::Text);
            StringGrid2.drawCellText(painter, rect, text, paint.changed ? kChangedText : normal);
        });
}

void SearchPage::withContext(const std::function<void(SearchContext&)>& operation)
{
    const cadlink::CadLink link = form_.cadLink();
    SearchContext context{link,          *this,       StringGrid2.cells(),        form_.entities().SearchHits,
                          FUndoCells2, sgUndoCnt2, form_.lineEditorFields()};
    operation(context);
}

void SearchPage::SpeedButton14Click()
{
    withContext([](SearchContext& context) { search::SpeedButton14Click(context); });
}

void SearchPage::SpeedButton15Click()
{
    withContext([](SearchContext& context) { search::SpeedButton15Click(context); });
}

void SearchPage::CheckBox3Click()
{
    const bool active = form_.controls().PageControl1->currentIndex() == kSearchPage;
    withContext([active](SearchContext& context) { repeatSearchForOption(context, active); });
}

void SearchPage::CheckBox4Click()
{
    CheckBox3Click();
}

void SearchPage::StringGrid2Click()
{
    withContext([](SearchContext& context) { search::StringGrid2Click(context); });
}

void SearchPage::StringGrid2GetEditText(int col, int row)
{
    withContext([col, row](SearchContext& context) { search::StringGrid2GetEditText(context, col, row); });
}

void SearchPage::StringGrid2KeyDown(int& key, Qt::KeyboardModifiers modifiers)
{
    int code = virtualKey(key);
    const grid::KeyModifiers held{(modifiers & Qt::ShiftModifier) != 0, (modifiers & Qt::ControlModifier) != 0,
                                  (modifiers & Qt::AltModifier) != 0};
    withContext([&](SearchContext& context) { search::StringGrid2KeyDown(context, code, held, clipboard_); });
    if (code == 0)
        key = 0;
}

void SearchPage::N44Click()
{
    withContext([](SearchContext& context) { search::N44Click(context); });
}

void SearchPage::N47Click()
{
    withContext([](SearchContext& context) { search::N47Click(context); });
}

bool SearchPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == form_.controls().Edit3 && event->type() == QEvent::KeyPress &&
        isEnterKey(static_cast<QKeyEvent*>(event)->key())) {
        form_.errors().run([this] { SpeedButton14Click(); });
        return true;
    }
    return QObject::eventFilter(watched, event);
}

std::u16string SearchPage::Edit3Text() const
{
    return form_.controls().Edit3->text().toStdU16String();
}

void SearchPage::setEdit3Enabled(bool enabled)
{
    form_.controls().Edit3->setEnabled(enabled);
}

bool SearchPage::CheckBox3Checked() const
{
    return form_.controls().CheckBox3->isChecked();
}

bool SearchPage::CheckBox5Checked() const
{
    return form_.controls().CheckBox5->isChecked();
}

bool SearchPage::CheckBox8Checked() const
{
    return form_.controls().CheckBox8->isChecked();
}

std::u16string SearchPage::SpeedButton14Caption() const
{
    return form_.controls().SpeedButton14->text().toStdU16String();
}

void SearchPage::setSpeedButton14Caption(const std::u16string& caption)
{
    form_.controls().SpeedButton14->setText(qt(caption));
}

bool SearchPage::SpeedButton15Enabled() const
{
    return form_.controls().SpeedButton15->isEnabled();
}

void SearchPage::setSpeedButton15Enabled(bool enabled)
{
    form_.controls().SpeedButton15->setEnabled(enabled);
}

void SearchPage::setLabel6(const std::u16string& text)
{
    QLabel* label = form_.controls().Label6;
    label->setText(qt(text));
    ui::repaintNowAndThen(*label);
}

void SearchPage::setLabel7(const std::u16string& text)
{
    QLabel* label = form_.controls().Label7;
    label->setText(qt(text));
    ui::repaintNowAndThen(*label);
}

void SearchPage::setStatusPanelText(int panel, const std::u16string& text)
{
    form_.setStatusPanelText(panel, qt(text));
}

std::u16string SearchPage::formatPoint(double x, double y) const
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return (locale.toString(x, 'f', 3) + QStringLiteral(", ") + locale.toString(y, 'f', 3)).toStdU16String();
}

bool SearchPage::cellEditorOpen() const
{
    return StringGrid2.isEditorOpen();
}

std::optional<textops::TikanFields> SearchPage::runReplaceDialog(const std::u16string& topLeftText)
{
    // The same dialog as the other pages' replace commands, so its fields carry over.
    return form_.runReplaceDialog(textops::ReplaceCommand::N44, topLeftText);
}

void SearchPage::showInformation(const std::u16string& text)
{
    form_.messages().show(ui::UserMessages::Kind::Information, qt(text));
}

void SearchPage::processPendingMessages()
{
    pump_.processPendingMessages();
}

void SearchPage::processMessagesHoldingInput()
{
    ui::processMessagesHoldingInput();
}

bool SearchPage::runFlag() const
{
    return form_.runFlag;
}

void SearchPage::setRunFlag(bool value)
{
    form_.runFlag = value;
}

}  // namespace search
