#pragma once

#include "textops/Numbering.h"
#include "textops/ReplaceCommands.h"
#include "textops/ZenHanCommands.h"

#include <QObject>

#include <functional>
#include <optional>
#include <memory>

class QAction;

namespace ui {
class PageContract;
}

namespace grid {
class GridPage;
}

namespace textops::ui {

class PlainTextLines;
class TKelvoKasanForm;
class TKelvoRenbanForm;
class TKelvoTikanForm;

// The text tools on the main window's popup menus: width conversions, replace, addition and
// numbering. It owns the three dialogs, which live as long as the window, and connects the
// menu items in its constructor. Every handler runs through the window's error handler.
class TextToolCommands : public QObject {
    Q_OBJECT

public:
    explicit TextToolCommands(::ui::PageContract& form);
    ~TextToolCommands() override;

    // The line editor's saved-text undo (UndoMark with true), called just before a command
    // changes the editor in bulk; the editor page provides it. A command that replaces every
    // line starts the editor's own history afresh, so the Undo button takes it back through
    // the saved text; a change at the selection is also one step of the editor's history.
    void setUndoMark(std::function<void()> undoMark) { undoMark_ = std::move(undoMark); }
    // The attribute grid page whose cells, undo stack and group count the cell commands
    // change; the main window hands it over once the page exists.
    void setGridPage(grid::GridPage& page) { gridPage_ = &page; }

    TKelvoTikanForm& tikanForm() { return *tikanForm_; }
    // The replace dialog of every page: its fields are first filled from prefillSource the
    // way command fills them (left as they are without one). The confirmed fields, or
    // nothing when the dialog was cancelled.
    std::optional<TikanFields> runReplaceDialog(ReplaceCommand command,
                                                const std::optional<std::u16string>& prefillSource);
    TKelvoKasanForm& kasanForm() { return *kasanForm_; }
    TKelvoRenbanForm& renbanForm() { return *renbanForm_; }

private:
    // Width conversions of the editor.
    void zenHanEveryLineClick(ZenHanCommand command);
    void zenHanSelectionClick(ZenHanCommand command);
    // The shared handler of the items of the submenu N21.
    void N23Click(const QAction* item);
    // Replace, addition and numbering on the editor.
    void N7Click();
    void N8Click();
    void N14Click();
    void N15Click();
    void N17Click();
    // The same on the selected cells of the attribute grid StringGrid1.
    void zenHanCellsClick(ZenHanCommand command);
    void N35Click();
    void N42Click();
    void N36Click();
    void N31Click();

    QAction* menuItem(const char* menu, const char* item) const;
    void connectItem(const char* menu, const char* item, std::function<void()> handler);
    void markUndo();
    StepControl stepControl() const;
    PlainTextLines editorLines() const;
    void addToGridCells(CellUndo undo);
    void generateNumbering(NumberingMode mode, const NumberingRun& run);
    void placeNumberingInEditor(NumberingMode mode, const NumberingRun& run);
    void placeNumberingInGrid(const NumberingRun& run);

    ::ui::PageContract& form_;
    std::function<void()> undoMark_;
    grid::GridPage* gridPage_ = nullptr;
    bool commandRunning_ = false;
    std::unique_ptr<TKelvoTikanForm> tikanForm_;
    std::unique_ptr<TKelvoKasanForm> kasanForm_;
    std::unique_ptr<TKelvoRenbanForm> renbanForm_;
};

}  // namespace textops::ui
