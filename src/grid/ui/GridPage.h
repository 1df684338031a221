#pragma once

#include "grid/GridKeys.h"
#include "grid/GridPageHost.h"
#include "grid/TUndoCells.h"
#include "grid/ui/QtGridClipboard.h"
#include "ui/MessagePump.h"

#include <QObject>

#include <functional>

class QPainter;
class QRect;

namespace ui {
class PageContract;
}

namespace editor {
struct nAtt;
}

namespace grid {

class KelvoStringGrid;
struct CellPaintState;
struct GridContext;

// The second page, " 属性編集": the attribute grid StringGrid1 with its buttons and check
// boxes. It owns the grid's cell undo stack and undo group count, runs the grid operations
// against itself as their host, and connects its handlers; each handler runs through the
// main window's default error handler.
class GridPage : public QObject, public GridPageHost {
    Q_OBJECT

public:
    explicit GridPage(ui::PageContract& form);
    ~GridPage() override;

    // Handlers, by the control and event that start them.
    void SpeedButton10Click();  // 取得
    void SpeedButton11Click();  // 更新
    void SpeedButton12Click();  // 中止
    void SpeedButton13Click();  // UNDO
    void SpeedButton16Click();  // 取得順
    void SpeedButton17Click();  // 文字順
    void SpeedButton18Click();  // 数字順
    void StringGrid1Click();
    void StringGrid1DrawCell(QPainter& painter, const QRect& rect, int ACol, int ARow, const CellPaintState& state);
    void StringGrid1FixedCellClick(int ACol, int ARow);
    void StringGrid1GetEditText(int ACol, int ARow);
    // Key is a virtual-key number (GridKeys.h); set to 0 when consumed.
    void StringGrid1KeyDown(int& Key, KeyModifiers Shift);
    void StringGrid1MouseDown(Qt::MouseButton button, int col, int row);
    void StringGrid1MouseMove(int col, int row);
    void StringGrid1MouseUp();

    // The grid's undo stack and group count, for the text commands that change its cells.
    TUndoCells& FUndoCells() { return undoCells_; }
    int& sgUndoCnt() { return undoCount_; }

    // GridPageHost over the page's controls.
    std::u16string ComboBox2Item() const override;
    void setLabel1Text(const std::u16string& text) override;
    void setLabel2Text(const std::u16string& text) override;
    void setLabel5Text(const std::u16string& text) override;
    void resetProgressBar1(int maximum) override;
    void stepProgressBar1() override;
    void setProgressBar1Position(int position) override;
    void setStatusPanelText(int panel, const std::u16string& text) override;
    void setSpeedButton11Enabled(bool enabled) override;
    void setSpeedButton12Enabled(bool enabled) override;
    void showMessage(const std::u16string& text) override;
    void processPendingMessages() override;
    void waitProcessingMessages(int milliseconds) override;
    bool runFlag() const override;
    void setRunFlag(bool value) override;

private:
    void connectHandlers();
    // Runs an operation with the CAD link as it is now (TargetProgID may have changed).
    void withContext(const std::function<void(GridContext&)>& operation);
    std::function<void()> guarded(void (GridPage::*handler)());
    // The attribute record a cell shows, or none.
    editor::nAtt* attributeOf(int col, int row) const;
    bool hasAttribute(int col, int row) const;
    bool cadOperationRunning() const;
    bool rowsHeldByOperation() const;
    // Enter: the changed cell to the drawing when CheckBox7 is on, then the cursor moves.
    void writeCurrentCell();
    void moveAfterEnter();

    ui::PageContract& form_;
    KelvoStringGrid& StringGrid1;
    TUndoCells undoCells_;
    int undoCount_ = 0;
    QtGridClipboard clipboard_;
    ui::MessagePumpThrottle pump_;  // restarted by every handler, so its first pump goes through
    // The cell a left-button drag started on (-1 when none) and the cell of its last update.
    int startCol = -1;
    int startRow = -1;
    int moveCol = -1;
    int moveRow = -1;
};

}  // namespace grid
