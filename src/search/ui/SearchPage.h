#pragma once

#include "grid/TUndoCells.h"
#include "grid/ui/QtGridClipboard.h"
#include "search/SearchHost.h"
#include "ui/MessagePump.h"

#include <QObject>

#include <functional>
#include <memory>

class QLabel;

namespace ui {
class PageContract;
}

namespace grid {
class KelvoStringGrid;
}

namespace search {

struct SearchContext;

// The third page, "TEXT 検索・編集": the search text Edit3 with its options, the search and
// update buttons, and the result grid StringGrid2 with its popup menu. The search page's
// operations run on it; it connects their handlers, each through the main window's default
// error handler.
class SearchPage : public QObject, public SearchHost {
    Q_OBJECT

public:
    explicit SearchPage(ui::PageContract& form);
    ~SearchPage() override;

    // Handlers, by the control and event that start them.
    void SpeedButton14Click();  // 検索 / 中止
    void SpeedButton15Click();  // 更新
    void CheckBox3Click();      // 先頭一致
    void CheckBox4Click();      // a->A (after the main window has switched Edit3's case)
    void StringGrid2Click();
    void StringGrid2GetEditText(int col, int row);
    void N44Click();  // 選択範囲を置換, also SpeedButton19
    void N47Click();  // すべて選択

    // The result grid's undo stack and its group count.
    grid::TUndoCells& undoCells() { return FUndoCells2; }
    int undoCount() const { return sgUndoCnt2; }

    // SearchHost over the page's controls.
    std::u16string Edit3Text() const override;
    void setEdit3Enabled(bool enabled) override;
    bool CheckBox3Checked() const override;
    bool CheckBox5Checked() const override;
    bool CheckBox8Checked() const override;
    std::u16string SpeedButton14Caption() const override;
    void setSpeedButton14Caption(const std::u16string& caption) override;
    bool SpeedButton15Enabled() const override;
    void setSpeedButton15Enabled(bool enabled) override;
    void setLabel6(const std::u16string& text) override;
    void setLabel7(const std::u16string& text) override;
    void setStatusPanelText(int panel, const std::u16string& text) override;
    std::u16string formatPoint(double x, double y) const override;
    bool cellEditorOpen() const override;
    std::optional<textops::TikanFields> runReplaceDialog(const std::u16string& topLeftText) override;
    void showInformation(const std::u16string& text) override;
    void processPendingMessages() override;
    void processMessagesHoldingInput() override;
    bool runFlag() const override;
    void setRunFlag(bool value) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectHandlers();
    void StringGrid2KeyDown(int& key, Qt::KeyboardModifiers modifiers);
    // Runs an operation with the CAD link as it is now (TargetProgID may have changed).
    void withContext(const std::function<void(SearchContext&)>& operation);
    // Runs a handler through the main window's default error handler.
    std::function<void()> guarded(void (SearchPage::*handler)());

    ui::PageContract& form_;
    grid::KelvoStringGrid& StringGrid2;
    grid::TUndoCells FUndoCells2;
    int sgUndoCnt2 = 0;
    grid::QtGridClipboard clipboard_;
    ui::MessagePumpThrottle pump_;  // restarted by every handler, so its first pump goes through
};

}  // namespace search
