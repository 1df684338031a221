#include "grid/ui/GridPage.h"

#include "automation/Variant.h"
#include "cadlink/CadConnection.h"
#include "editor/records/EntityArrays.h"
#include "grid/AttributeGridAcquisition.h"
#include "grid/GridContext.h"
#include "grid/GridUpdate.h"
#include "grid/HandleGridKey.h"
#include "grid/SortGridRows.h"
#include "grid/UndoGroup.h"
#include "grid/ui/KelvoStringGrid.h"
#include "ui/MessagePump.h"
#include "ui/PageContract.h"
#include "ui/UserMessages.h"
#include "ui_TKelvoMainForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <exception>
#include <optional>

namespace grid {

using automation::ObjectRef;
using automation::Variant;

namespace {

constexpr int kInitialSize = 5;
constexpr int kFixedColWidth = 30;
constexpr int kDefaultColWidth = 64;
const QColor kNoAttributeGrey(192, 192, 192);
const QColor kChangedRed(255, 0, 0);

QString qt(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

// The grid handlers speak in virtual-key numbers. Letters are the same in both; keys the
// handlers do not know get a number none of them tests for.
int virtualKeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return keys::Enter;
    case Qt::Key_Delete:
        return keys::Delete;
    default:
        break;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return qtKey;
    return -1;
}

KeyModifiers modifiersOf(Qt::KeyboardModifiers modifiers)
{
    return {modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier),
            modifiers.testFlag(Qt::AltModifier)};
}

}  // namespace

GridPage::GridPage(ui::PageContract& form) : form_(form), StringGrid1(*form.controls().StringGrid1)
{
    // Before the first acquisition: 5 by 5 with one fixed row and column, all cells empty.
    StringGrid1.setFixedRows(1);
    StringGrid1.setFixedCols(1);
    StringGrid1.setGridColCount(kInitialSize);
    StringGrid1.setGridRowCount(kInitialSize);
    StringGrid1.setGridColWidth(0, kFixedColWidth);
    for (int c = 1; c < kInitialSize; ++c)
        StringGrid1.setGridColWidth(c, kDefaultColWidth);
    connectHandlers();
}

GridPage::~GridPage()
{
    // The grid outlives the page inside the window being destroyed.
    StringGrid1.setDrawCellHandler({});
    StringGrid1.setKeyDownHandler({});
}

std::function<void()> GridPage::guarded(void (GridPage::*handler)())
{
    return [this, handler] {
        pump_.restart();
        form_.errors().run([this, handler] { (this->*handler)(); });
    };
}

void GridPage::connectHandlers()
{
    Ui::TKelvoMainForm& ui = form_.controls();
    connect(ui.SpeedButton10, &QPushButton::clicked, this, guarded(&GridPage::SpeedButton10Click));
    connect(ui.SpeedButton11, &QPushButton::clicked, this, guarded(&GridPage::SpeedButton11Click));
    connect(ui.SpeedButton12, &QPushButton::clicked, this, guarded(&GridPage::SpeedButton12Click));
    connect(ui.SpeedButton13, &QPushButton::clicked, this, guarded(&GridPage::SpeedButton13Click));
    connect(ui.SpeedButton16, &QPushButton::clicked, this, guarded(&GridPage::SpeedButton16Click));
    connect(ui.SpeedButton17, &QPushButton::clicked, this, guarded(&GridPage::SpeedButton17Click));
    connect(ui.SpeedButton18, &QPushButton::clicked, this, guarded(&GridPage::SpeedButton18Click));

    connect(&StringGrid1, &KelvoStringGrid::gridClick, this, guarded(&GridPage::StringGrid1Click));
    connect(&StringGrid1, &KelvoStringGrid::fixedCellClick, this, [this](int col, int row) {
        form_.errors().run([&] { StringGrid1FixedCellClick(col, row); });
    });
    connect(&StringGrid1, &KelvoStringGrid::editorOpening, this, [this](int col, int row) {
        form_.errors().run([&] { StringGrid1GetEditText(col, row); });
    });
    connect(&StringGrid1, &KelvoStringGrid::gridMouseDown, this, [this](Qt::MouseButton button, int col, int row) {
        form_.errors().run([&] { StringGrid1MouseDown(button, col, row); });
    });
    connect(&StringGrid1, &KelvoStringGrid::gridMouseMove, this, [this](Qt::MouseButtons, int col, int row) {
        form_.errors().run([&] { StringGrid1MouseMove(col, row); });
    });
    connect(&StringGrid1, &KelvoStringGrid::gridMouseUp, this,
            [this](Qt::MouseButton, int, int) { form_.errors().run([&] { StringGrid1MouseUp(); }); });

    StringGrid1.setDrawCellHandler(
        [this](QPainter& painter, const QRect& rect, int col, int row, const CellPaintState& state) {
            form_.errors().run([&] { StringGrid1DrawCell(painter, rect, col, row, state); });
        });
    StringGrid1.setKeyDownHandler([this](int& key, Qt::KeyboardModifiers modifiers) {
        int virtualKey = virtualKeyOf(key);
        bool failed = true;
        form_.errors().run([&] {
            StringGrid1KeyDown(virtualKey, modifiersOf(modifiers));
            failed = false;
        });
        // A key whose handling failed half way is not handled by the grid as well.
        if (virtualKey == 0 || failed)
            key = 0;
    });
}

void GridPage::withContext(const std::function<void(GridContext&)>& operation)
{
    const cadlink::CadLink link = form_.cadLink();
    auto& entities = form_.entities();
    GridContext context{link,         *this,       StringGrid1.cells(), entities.GridBlocks, entities.GridAttributes,
                        undoCells_,   undoCount_,  form_.lineEditorFields()};
    operation(context);
}

void GridPage::SpeedButton10Click()
{
    withContext([](GridContext& context) { grid::SpeedButton10Click(context); });
}

void GridPage::SpeedButton11Click()
{
    withContext([](GridContext& context) { grid::SpeedButton11Click(context); });
}

void GridPage::SpeedButton12Click()
{
    withContext([](GridContext& context) { grid::SpeedButton12Click(context); });
}

void GridPage::SpeedButton13Click()
{
    withContext([](GridContext& context) { grid::SpeedButton13Click(context); });
}

void GridPage::SpeedButton16Click()
{
    if (rowsHeldByOperation())
        return;
    SortGridRows(StringGrid1.cells(), 0, -1, SortOrder::Text);
    StringGrid1.viewport()->update();
}

void GridPage::SpeedButton17Click()
{
    if (rowsHeldByOperation())
        return;
    const int col = StringGrid1.currentCol();
    if (col <= 0)
        return;
    SortGridRows(StringGrid1.cells(), col, -1, SortOrder::Text);
    StringGrid1.viewport()->update();
}

void GridPage::SpeedButton18Click()
{
    if (rowsHeldByOperation())
        return;
    const int col = StringGrid1.currentCol();
    if (col <= 0)
        return;
    const LocaleNumberParser parse = [](const std::u16string& text) -> std::optional<double> {
        bool ok = false;
        const double value = QLocale().toDouble(qt(text), &ok);
        if (!ok)
            return std::nullopt;
        return value;
    };
    SortGridRows(StringGrid1.cells(), col, -1, SortOrder::Numeric, parse);
    StringGrid1.viewport()->update();
}

editor::nAtt* GridPage::attributeOf(int col, int row) const
{
    auto& attributes = form_.entities().GridAttributes;
    const int k = StringGrid1.cellObject(col, row);
    // A cell object can outlive its record after an acquisition that ended early; it then
    // names nothing.
    if (k < 1 || attributes.empty() || static_cast<size_t>(k) > attributes.size())
        return nullptr;
    return &attributes[static_cast<size_t>(k) - 1];
}

bool GridPage::cadOperationRunning() const
{
    // An acquisition or update lets window messages through while it talks to the CAD
    // application; a click or Enter inside it must not start calls of its own.
    return form_.lineEditorFields().cadOperationRunning;
}

bool GridPage::rowsHeldByOperation() const
{
    // An acquisition fills row r with block r and an update reads the cells by their
    // objects; rows sorted, pasted or undone under them would pair values with the wrong
    // attributes.
    return cadOperationRunning();
}

bool GridPage::hasAttribute(int col, int row) const
{
    return attributeOf(col, row) != nullptr;
}

void GridPage::StringGrid1Click()
{
    const editor::nAtt* record = attributeOf(StringGrid1.currentCol(), StringGrid1.currentRow());
    if (!record) {
        form_.setStatusPanelText(0, QString());
        form_.setStatusPanelText(1, QString());
        StringGrid1.setEditingEnabled(false);
        return;
    }
    form_.setStatusPanelText(0, qt(record->sHnd));
    StringGrid1.setEditingEnabled(true);
    if (!form_.controls().CheckBox6->isChecked())
        return;
    form_.setStatusPanelText(1, qt(record->text));
    if (cadOperationRunning())
        return;
    const cadlink::CadLink link = form_.cadLink();
    // An unknown ProgID fails here and is shown; the zoom itself fails silently.
    if (!cadlink::IsCadRunning(link))
        return;
    try {
        const ObjectRef application = cadlink::getApplication(link);
        cadlink::ZoomToEntity(link.windows, *application, record->insPt, 3, false, 0.05);
    } catch (const std::exception&) {
    }
}

void GridPage::StringGrid1DrawCell(QPainter& painter, const QRect& rect, int ACol, int ARow,
                                   const CellPaintState& state)
{
    if (ACol < StringGrid1.fixedCols() || ARow < StringGrid1.fixedRows())
        return;
    if (StringGrid1.cellObject(ACol, ARow) < 1) {
        // No attribute: a solid grey box, whatever text the cell holds.
        painter.fillRect(rect, kNoAttributeGrey);
        return;
    }
    const editor::nAtt* record = attributeOf(ACol, ARow);
    const QString text = StringGrid1.cellText(ACol, ARow);
    if (!record || text == qt(record->text))
        return;
    // Differs from the drawing: the text again in red.
    painter.fillRect(rect, state.background);
    StringGrid1.drawCellText(painter, rect, text, kChangedRed);
}

void GridPage::StringGrid1FixedCellClick(int ACol, int ARow)
{
    const int firstCol = StringGrid1.fixedCols();
    const int firstRow = StringGrid1.fixedRows();
    const int lastCol = StringGrid1.gridColCount() - 1;
    const int lastRow = StringGrid1.gridRowCount() - 1;
    if (ACol == 0 && ARow == 0)
        StringGrid1.setSelectionCorners(firstCol, firstRow, lastCol, lastRow);
    else if (ARow == 0)
        StringGrid1.setSelectionCorners(ACol, firstRow, ACol, lastRow);
    else if (ACol == 0)
        StringGrid1.setSelectionCorners(firstCol, ARow, lastCol, ARow);
    StringGrid1.viewport()->update();
}

void GridPage::StringGrid1GetEditText(int ACol, int ARow)
{
    undoCount_ = 1;
    undoCells_.Add(StringGrid1.cells(), ACol, ARow);
}

void GridPage::StringGrid1KeyDown(int& Key, KeyModifiers Shift)
{
    if (Key == keys::Enter) {
        writeCurrentCell();
        moveAfterEnter();
        // Not consumed: the grid opens or closes its editor next.
        return;
    }
    if (rowsHeldByOperation()) {
        if (Key == keys::Delete || (Shift.control && (Key == keys::Z || Key == keys::X || Key == keys::V)))
            Key = 0;
        return;
    }
    if (Key == keys::Z && Shift.control) {
        Key = 0;
        undoGroupByKey(undoCells_, StringGrid1.cells(), undoCount_);
        return;
    }
    HandleGridKey(StringGrid1.cells(), Key, Shift, undoCells_, undoCount_, clipboard_);
}

void GridPage::writeCurrentCell()
{
    if (!form_.controls().CheckBox7->isChecked())
        return;
    const int col = StringGrid1.currentCol();
    const int row = StringGrid1.currentRow();
    editor::nAtt* record = attributeOf(col, row);
    if (!record)
        return;
    const std::u16string text = StringGrid1.cellText(col, row).toStdU16String();
    if (text == record->text || cadOperationRunning())
        return;
    const cadlink::CadLink link = form_.cadLink();
    if (!cadlink::IsCadRunning(link))
        return;
    // Without the application or its document the user hears of it, and the cursor stays.
    const ObjectRef application = cadlink::getApplication(link);
    const ObjectRef document = application->get(u"ActiveDocument").toObject();
    try {
        const ObjectRef attribute = document->call(u"HandleToObject", {Variant(record->sHnd)}).toObject();
        attribute->put(u"TextString", Variant(text));
        attribute->call(u"Update");
        record->insPt = attribute->get(u"InsertionPoint");
        record->text = attribute->get(u"TextString").toString();
    } catch (const std::exception&) {
        // The attribute is gone or refused the text: the cell shows the drawing's value again.
        StringGrid1.setCellText(col, row, qt(record->text));
    }
    StringGrid1.viewport()->update();
}

void GridPage::moveAfterEnter()
{
    const int col = StringGrid1.currentCol();
    const int row = StringGrid1.currentRow();
    const int lastCol = StringGrid1.gridColCount() - 1;
    const int lastRow = StringGrid1.gridRowCount() - 1;
    if (!form_.controls().CheckBox2->isChecked()) {
        if (col < lastCol && hasAttribute(col + 1, row)) {
            StringGrid1.cells().setCol(col + 1);
        } else if (row < lastRow && hasAttribute(1, row + 1)) {
            StringGrid1.cells().setRow(row + 1);
            StringGrid1.cells().setCol(1);
        }
        return;
    }
    if (!StringGrid1.isEditorOpen())
        return;
    StringGrid1.cells().setRow(row < lastRow ? row + 1 : StringGrid1.fixedRows());
}

void GridPage::StringGrid1MouseDown(Qt::MouseButton button, int col, int row)
{
    if (button != Qt::LeftButton)
        return;
    if (col >= StringGrid1.fixedCols() && row >= StringGrid1.fixedRows()) {
        startCol = col;
        startRow = row;
    }
}

void GridPage::StringGrid1MouseMove(int col, int row)
{
    if (startCol < 0 || startRow < 0 || col < 0 || row < 0)
        return;
    if ((col == startCol && row == startRow) || (col == moveCol && row == moveRow))
        return;
    const int firstCol = StringGrid1.fixedCols();
    const int firstRow = StringGrid1.fixedRows();
    StringGrid1.setSelectionCorners(std::max(startCol, firstCol), startRow, std::max(col, firstCol),
                                    std::max(row, firstRow));
    StringGrid1.viewport()->update();
    moveCol = col;
    moveRow = row;
}

void GridPage::StringGrid1MouseUp()
{
    startCol = -1;
    startRow = -1;
    StringGrid1.viewport()->update();
}

std::u16string GridPage::ComboBox2Item() const
{
    const QComboBox& combo = *form_.controls().ComboBox2;
    if (combo.currentIndex() < 0)
        return {};
    return combo.itemText(combo.currentIndex()).toStdU16String();
}

void GridPage::setLabel1Text(const std::u16string& text)
{
    form_.controls().Label1->setText(qt(text));
}

void GridPage::setLabel2Text(const std::u16string& text)
{
    form_.controls().Label2->setText(qt(text));
}

void GridPage::setLabel5Text(const std::u16string& text)
{
    QLabel& label = *form_.controls().Label5;
    label.setText(qt(text));
    ui::repaintNowAndThen(label);
}

void GridPage::resetProgressBar1(int maximum)
{
    QProgressBar& bar = *form_.controls().ProgressBar1;
    bar.setMaximum(maximum);
    bar.setValue(0);
}

void GridPage::stepProgressBar1()
{
    QProgressBar& bar = *form_.controls().ProgressBar1;
    bar.setValue(std::min(bar.value() + 1, bar.maximum()));
    ui::repaintNowAndThen(bar);
}

void GridPage::setProgressBar1Position(int position)
{
    form_.controls().ProgressBar1->setValue(position);
}

void GridPage::setStatusPanelText(int panel, const std::u16string& text)
{
    form_.setStatusPanelText(panel, qt(text));
}

void GridPage::setSpeedButton11Enabled(bool enabled)
{
    form_.controls().SpeedButton11->setEnabled(enabled);
}

void GridPage::setSpeedButton12Enabled(bool enabled)
{
    form_.controls().SpeedButton12->setEnabled(enabled);
}

void GridPage::showMessage(const std::u16string& text)
{
    form_.messages().show(ui::UserMessages::Kind::Plain, qt(text));
}

void GridPage::processPendingMessages()
{
    pump_.processPendingMessages();
}

void GridPage::waitProcessingMessages(int milliseconds)
{
    ui::waitProcessingMessages(milliseconds);
}

bool GridPage::runFlag() const
{
    return form_.runFlag;
}

void GridPage::setRunFlag(bool value)
{
    form_.runFlag = value;
}

}  // namespace grid
