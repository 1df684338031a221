#pragma once

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QLabel;

namespace kelvocad {

class CadSession;
class DrawingView;
class WindowPicker;

// KelvoCAD's main window: the drawing view, a prompt line under it, and the few commands
// of the program (undo, zoom to the whole drawing, exit). It installs the window picker
// into the session and publishes its native window ids as the session's window handles.
class CadMainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit CadMainWindow(std::shared_ptr<CadSession> session, QWidget* parent = nullptr);
    ~CadMainWindow() override;

    DrawingView* view() const noexcept { return view_; }
    QLabel* promptLine() const noexcept { return prompt_; }
    std::shared_ptr<WindowPicker> picker() const noexcept { return picker_; }

    // Undoes the last undo group of the drawing; false when there is nothing to undo or
    // a pick is in progress.
    bool undoLastStep();
    void updateTitle();
    // Enables File > Save, which calls this; a failure is shown in a message box.
    void setSaveHandler(std::function<void()> save);

    // The prompts of the prompt line.
    static QString idlePrompt();
    static QString pickPrompt(int selected);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void publishWindowHandles();

    std::shared_ptr<CadSession> session_;
    DrawingView* view_ = nullptr;
    QLabel* prompt_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* saveAction_ = nullptr;
    std::function<void()> save_;
    std::shared_ptr<WindowPicker> picker_;
};

}  // namespace kelvocad
