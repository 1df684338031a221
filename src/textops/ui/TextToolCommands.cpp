#include "textops/ui/TextToolCommands.h"

#include "common/ScopeExit.h"
#include "editor/records/LineEditorFields.h"
#include "grid/CellGrid.h"
#include "grid/ui/GridPage.h"
#include "grid/ui/KelvoStringGrid.h"
#include "textops/Addition.h"
#include "textops/CellGridTarget.h"
#include "textops/Numbering.h"
#include "textops/ReplaceCommands.h"
#include "textops/ui/PlainTextLines.h"
#include "textops/ui/TKelvoKasanForm.h"
#include "textops/ui/TKelvoRenbanForm.h"
#include "textops/ui/TKelvoTikanForm.h"
#include "ui/MessagePump.h"
#include "ui/PageContract.h"
#include "ui/TopmostHandOver.h"
#include "ui_TKelvoMainForm.h"

#include <QAction>
#include <QMenu>

#include <memory>
#include <stdexcept>

namespace textops::ui {

namespace {

// A long editor command: runFlag set and the Stop button live while it runs, both cleared
// on every way out.
class RunningCommand {
public:
    explicit RunningCommand(::ui::PageContract& form) : form_(form)
    {
        form_.runFlag = true;
        form_.controls().SpeedButton5->setEnabled(true);
    }
    ~RunningCommand()
    {
        form_.runFlag = false;
        form_.controls().SpeedButton5->setEnabled(false);
    }
    RunningCommand(const RunningCommand&) = delete;
    RunningCommand& operator=(const RunningCommand&) = delete;

private:
    ::ui::PageContract& form_;
};

// The table conversions offer to pump after each of their passes, dozens of times per line;
// the window stays just as live when messages go through now and then.
std::function<void()> processMessagesNowAndThen()
{
    auto throttle = std::make_shared<::ui::MessagePumpThrottle>();
    return [throttle] { throttle->processPendingMessages(); };
}

}  // namespace

TextToolCommands::TextToolCommands(::ui::PageContract& form)
    : form_(form),
      tikanForm_(std::make_unique<TKelvoTikanForm>(&form.mainWindow())),
      kasanForm_(std::make_unique<TKelvoKasanForm>(&form.mainWindow())),
      renbanForm_(std::make_unique<TKelvoRenbanForm>(form.errors(), &form.mainWindow()))
{
    for (const ZenHanCommandInfo& info : zenHanCommands()) {
        const QByteArray name = QString::fromStdU16String(std::u16string(info.itemName)).toLatin1();
        const ZenHanCommand command = info.command;
        if (info.inSubmenu) {
            QAction* item = menuItem("PopupMenu1", name.constData());
            connectItem("PopupMenu1", name.constData(), [this, item] { N23Click(item); });
        } else if (info.target == CommandTarget::EveryLine) {
            connectItem("PopupMenu1", name.constData(), [this, command] { zenHanEveryLineClick(command); });
        } else if (info.target == CommandTarget::Selection) {
            connectItem("PopupMenu1", name.constData(), [this, command] { zenHanSelectionClick(command); });
        } else {
            connectItem("PopupMenu2", name.constData(), [this, command] { zenHanCellsClick(command); });
        }
    }
    connectItem("PopupMenu1", "N7", [this] { N7Click(); });
    connectItem("PopupMenu1", "N8", [this] { N8Click(); });
    connectItem("PopupMenu1", "N14", [this] { N14Click(); });
    connectItem("PopupMenu1", "N15", [this] { N15Click(); });
    connectItem("PopupMenu1", "N17", [this] { N17Click(); });
    connectItem("PopupMenu2", "N35", [this] { N35Click(); });
    connectItem("PopupMenu2", "N42", [this] { N42Click(); });
    connectItem("PopupMenu2", "N36", [this] { N36Click(); });
    connectItem("PopupMenu2", "N31", [this] { N31Click(); });
    renbanForm_->setGenerate([this](NumberingMode mode, const NumberingRun& run) { generateNumbering(mode, run); });
}

TextToolCommands::~TextToolCommands() = default;

QAction* TextToolCommands::menuItem(const char* menu, const char* item) const
{
    const QMenu* popup = form_.mainWindow().findChild<QMenu*>(QString::fromLatin1(menu));
    QAction* action = popup ? popup->findChild<QAction*>(QString::fromLatin1(item)) : nullptr;
    if (!action)
        throw std::logic_error(std::string("the menu item ") + item + " is missing");
    return action;
}

void TextToolCommands::connectItem(const char* menu, const char* item, std::function<void()> handler)
{
    connect(menuItem(menu, item), &QAction::triggered, this, [this, handler = std::move(handler)] {
        // Commands and CAD operations pump messages while they run. A text command started
        // from there would change the lines or cells under them (and the running command
        // would then write its own copy over the result), so it is ignored instead.
        if (commandRunning_ || form_.lineEditorFields().cadOperationRunning)
            return;
        commandRunning_ = true;
        const common::ScopeExit done([this] { commandRunning_ = false; });
        form_.errors().run(handler);
    });
}

void TextToolCommands::markUndo()
{
    if (undoMark_)
        undoMark_();
}

StepControl TextToolCommands::stepControl() const
{
    ::ui::PageContract* form = &form_;
    return StepControl{processMessagesNowAndThen(), [form] { return form->runFlag; }};
}

PlainTextLines TextToolCommands::editorLines() const
{
    return PlainTextLines(*form_.controls().SynEdit1);
}

void TextToolCommands::zenHanEveryLineClick(ZenHanCommand command)
{
    markUndo();
    const RunningCommand running(form_);
    PlainTextLines editor = editorLines();
    std::vector<std::u16string> lines = editor.lines();
    LineBatchResult result = zenHanEveryLine(command, lines, stepControl());
    if (result.lines != lines)
        editor.replaceLines(result.lines);
}

void TextToolCommands::N23Click(const QAction* item)
{
    const auto command = item ? zenHanCommandForItem(item->objectName().toStdU16String()) : std::nullopt;
    if (!command || !zenHanCommandInfo(*command).inSubmenu)
        return;
    const RunningCommand running(form_);
    markUndo();
    PlainTextLines editor = editorLines();
    std::vector<std::u16string> lines = editor.lines();
    LineBatchResult result = zenHanEveryLine(*command, lines, stepControl());
    if (result.lines != lines)
        editor.replaceLines(result.lines);
}

void TextToolCommands::zenHanSelectionClick(ZenHanCommand command)
{
    const RunningCommand running(form_);
    PlainTextLines editor = editorLines();
    const std::u16string selected = editor.selectedText();
    if (selected.empty())
        return;
    markUndo();
    if (const auto result = zenHanSelection(command, selected, stepControl()))
        editor.replaceSelection(result->text);
}

std::optional<TikanFields> TextToolCommands::runReplaceDialog(ReplaceCommand command,
                                                              const std::optional<std::u16string>& prefillSource)
{
    if (prefillSource) {
        TikanFields fields = tikanForm_->fields();
        prefillTikanFields(command, fields, *prefillSource);
        tikanForm_->setFields(fields);
    }
    if (::ui::runModalWithTopmostHandOver(form_.mainWindow(), *tikanForm_) != QDialog::Accepted)
        return std::nullopt;
    return tikanForm_->fields();
}

void TextToolCommands::N7Click()
{
    PlainTextLines editor = editorLines();
    const auto confirmed = runReplaceDialog(
        ReplaceCommand::N7, editor.lineCount() > 0 ? std::optional(editor.firstLine()) : std::nullopt);
    if (!confirmed || confirmed->Edit1.empty())
        return;
    const TikanFields& fields = *confirmed;
    markUndo();
    const RunningCommand running(form_);
    std::vector<std::u16string> lines = editor.lines();
    const auto result =
        replaceEveryLine(lines, fields.Edit1, fields.Edit2, tikanForm_->everyLineMatchCase(), stepControl());
    if (result && result->lines != lines)
        editor.replaceLines(result->lines);
}

void TextToolCommands::N8Click()
{
    PlainTextLines editor = editorLines();
    const std::u16string selected = editor.selectedText();
    const auto confirmed =
        runReplaceDialog(ReplaceCommand::N8, editor.lineCount() > 0 ? std::optional(selected) : std::nullopt);
    if (!confirmed || confirmed->Edit1.empty())
        return;
    const TikanFields& fields = *confirmed;
    markUndo();
    const RunningCommand running(form_);
    if (const auto result = replaceInSelection(selected, fields.Edit1, fields.Edit2, stepControl()))
        editor.replaceSelection(result->text);
}

void TextToolCommands::N14Click()
{
    if (::ui::runModalWithTopmostHandOver(form_.mainWindow(), *kasanForm_) != QDialog::Accepted)
        return;
    const RunningCommand running(form_);
    const AdditionSettings settings = kasanForm_->settings();
    if (settings.addend == 0)
        return;
    markUndo();
    PlainTextLines editor = editorLines();
    std::vector<std::u16string> lines = editor.lines();
    const auto result = addToEveryLine(lines, settings, stepControl());
    if (result && result->lines != lines)
        editor.replaceLines(result->lines);
}

void TextToolCommands::N15Click()
{
    if (::ui::runModalWithTopmostHandOver(form_.mainWindow(), *kasanForm_) != QDialog::Accepted)
        return;
    const RunningCommand running(form_);
    const AdditionSettings settings = kasanForm_->settings();
    PlainTextLines editor = editorLines();
    const std::u16string selected = editor.selectedText();
    if (settings.addend == 0 || selected.empty())
        return;
    markUndo();
    if (const auto result = addToSelection(selected, settings, stepControl()))
        editor.replaceSelection(result->text);
}

void TextToolCommands::N17Click()
{
    ::ui::runModalWithTopmostHandOver(form_.mainWindow(), *renbanForm_);
}

void TextToolCommands::generateNumbering(NumberingMode mode, const NumberingRun& run)
{
    // The first page is the line editor; from the others the run goes down the attribute grid.
    if (form_.controls().PageControl1->currentIndex() == 0)
        placeNumberingInEditor(mode, run);
    else
        placeNumberingInGrid(run);
}

void TextToolCommands::placeNumberingInEditor(NumberingMode mode, const NumberingRun& run)
{
    // A run too long for the editor is refused here, before anything changes.
    const std::vector<std::u16string> items = run.itemsForEditor();
    PlainTextLines editor = editorLines();
    const int line = editor.selectionStartLine();
    markUndo();
    editor.insertLines(mode == NumberingMode::Insert ? line : editor.lineCount(), items);
}

namespace {

// The attribute grid as the cell commands see it: its cells, its undo stack, and the
// selection, which is empty while the grid has no data cell.
struct AttributeGridCells {
    grid::CellGrid& cells;
    textops::CellGridTarget target;
    int& sgUndoCnt;
    std::optional<CellRect> selection;
};

AttributeGridCells attributeGridCells(::ui::PageContract& form, grid::GridPage& page)
{
    grid::CellGrid& cells = form.controls().StringGrid1->cells();
    const grid::GridRect rect = cells.selection();
    std::optional<CellRect> selection;
    if (rect.Left >= 0 && rect.Top >= 0)
        selection = CellRect{rect.Left, rect.Top, rect.Right, rect.Bottom};
    return {cells, textops::CellGridTarget(cells, page.FUndoCells()), page.sgUndoCnt(), selection};
}

}  // namespace

void TextToolCommands::zenHanCellsClick(ZenHanCommand command)
{
    AttributeGridCells grid = attributeGridCells(form_, *gridPage_);
    if (grid.selection)
        grid.sgUndoCnt = zenHanCells(command, grid.target, *grid.selection);
}

void TextToolCommands::N35Click()
{
    AttributeGridCells grid = attributeGridCells(form_, *gridPage_);
    if (!grid.selection)
        return;
    const auto fields =
        runReplaceDialog(ReplaceCommand::N35, grid.cells.cellText(grid.selection->left, grid.selection->top));
    if (!fields)
        return;
    if (const auto count = replaceInCells(grid.target, *grid.selection, fields->Edit1, fields->Edit2))
        grid.sgUndoCnt = *count;
}

void TextToolCommands::N42Click()
{
    addToGridCells(CellUndo::EveryCell);
}

void TextToolCommands::N36Click()
{
    addToGridCells(CellUndo::AppliedCells);
}

void TextToolCommands::addToGridCells(CellUndo undo)
{
    if (::ui::runModalWithTopmostHandOver(form_.mainWindow(), *kasanForm_) != QDialog::Accepted)
        return;
    AttributeGridCells grid = attributeGridCells(form_, *gridPage_);
    if (!grid.selection)
        return;
    // The grid commands keep the window live but cannot be stopped.
    StepControl control;
    if (undo == CellUndo::EveryCell)
        control.processPendingMessages = processMessagesNowAndThen();
    if (const auto count = addToCells(grid.target, *grid.selection, kasanForm_->settings(), undo, control))
        grid.sgUndoCnt = *count;
}

void TextToolCommands::N31Click()
{
    renbanForm_->setOverwriteMode(true);
    const common::ScopeExit restore([this] { renbanForm_->setOverwriteMode(false); });
    ::ui::runModalWithTopmostHandOver(form_.mainWindow(), *renbanForm_);
}

void TextToolCommands::placeNumberingInGrid(const NumberingRun& run)
{
    AttributeGridCells grid = attributeGridCells(form_, *gridPage_);
    if (!grid.selection)
        return;
    const RowRange rows =
        numberingRows(grid.selection->top, grid.selection->bottom, grid.cells.Row(), grid.cells.RowCount() - 1);
    grid.sgUndoCnt = overwriteNumberingCells(grid.target, run, grid.cells.Col(), rows);
}

}  // namespace textops::ui
