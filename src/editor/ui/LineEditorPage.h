#pragma once

#include "editor/LineEditorHost.h"
#include "ui/MessagePump.h"

#include <QColor>
#include <QObject>

#include <functional>

namespace ui {
class LineEditorWidget;
class PageContract;
}  // namespace ui

namespace editor {

struct LineEditorContext;

// The first page, "TEXT, 属性編集": the line editor SynEdit1 with its buttons, the dX/dY
// boxes and the popup menu's editor commands. It is the page the line editor's operations
// run on, and it connects their handlers; each handler runs through the main window's
// default error handler.
//
// LineEditorPage.cpp holds the handlers; LineEditorPageControls.cpp the LineEditorHost
// members over the page's controls.
class LineEditorPage : public QObject, public LineEditorHost {
    Q_OBJECT

public:
    explicit LineEditorPage(ui::PageContract& form);
    ~LineEditorPage() override;

    // Handlers, by the control and event that start them.
    void SpeedButton1Click();  // TEXT
    void SpeedButton2Click();  // 更新(Ctrl+Enter)
    void SpeedButton3Click();  // すべて選択
    void SpeedButton4Click();  // Undo
    void SpeedButton5Click();  // 中止
    void SpeedButton6Click();  // 整列
    void SpeedButton8Click();  // ATTR
    void N10Click();           // カット
    void N11Click();           // コピー
    void N12Click();           // ペースト
    void N20Click();           // クリア
    void PopupMenu1Popup();
    void SynEdit1CaretEvent();  // click and key released: the caret line may have moved
    // A character typed with Ctrl held; true swallows it.
    bool SynEdit1KeyPress(char16_t key);
    void Edit1Enter();
    void Edit2Enter();

    // The saved-text undo every bulk change of the editor text goes through.
    void UndoMark(bool flag);
    // The 200 ms status refresh.
    void refreshLineEditorStatus();

    // LineEditorHost over the page's controls.
    int lineCount() const override;
    std::u16string line(int index) const override;
    void replaceLines(const std::vector<std::u16string>& lines) override;
    void caretToStart() override;
    std::u16string text() const override;
    void setText(const std::u16string& text) override;
    int caretLine() const override;
    int caretColumn() const override;
    std::u16string selectedText() const override;
    bool canUndo() const override;
    void undoOneStep() override;
    EditorBackground editorBackground() const override;
    void setEditorBackground(EditorBackground background) override;
    std::u16string Edit1Text() const override;
    std::u16string Edit2Text() const override;
    void setEdit1Text(const std::u16string& text) override;
    void setEdit2Text(const std::u16string& text) override;
    void setPitchBoxesRed(bool red) override;
    std::u16string formatNumber(double value) const override;
    std::optional<double> parseNumber(const std::u16string& text) const override;
    void setLabel1(const std::u16string& text) override;
    void setLabel2(const std::u16string& text) override;
    void setLabel2Visible(bool visible) override;
    std::u16string statusPanelText(int panel) const override;
    void setStatusPanelText(int panel, const std::u16string& text) override;
    void setSpeedButton2Enabled(bool enabled) override;
    void setSpeedButton3Visible(bool visible) override;
    bool SpeedButton4Enabled() const override;
    void setSpeedButton4Enabled(bool enabled) override;
    void setSpeedButton5Enabled(bool enabled) override;
    void setSpeedButton6Enabled(bool enabled) override;
    bool CheckBox1Checked() const override;
    bool CheckBox9Checked() const override;
    std::u16string ComboBox1Text() const override;
    void showMessage(const std::u16string& text) override;
    void processPendingMessages() override;
    bool runFlag() const override;
    void setRunFlag(bool value) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectHandlers();
    // Runs an operation with the CAD link as it is now (TargetProgID may have changed).
    void withContext(const std::function<void(LineEditorContext&)>& operation);
    // The same for write-back and Align, with the editor's lines held still meanwhile.
    void changeDrawing(const std::function<void(LineEditorContext&)>& operation);
    // Editor commands that change the lines wait until a CAD operation has ended.
    bool cadOperationRunning() const;
    void bringMainWindowForward(LineEditorContext& context);
    // Runs a handler through the main window's default error handler.
    std::function<void()> guarded(void (LineEditorPage::*handler)());
    // A selection as the editor returns it separates lines by U+2029.
    static QString withLineBreaks(QString selection, const QString& lineBreak);

    ui::PageContract& form_;
    ui::LineEditorWidget& SynEdit1;
    EditorBackground background_ = EditorBackground::Window;
    QColor windowColour_;
    ui::MessagePumpThrottle pump_;  // restarted by every handler, so its first pump goes through
};

}  // namespace editor
