#pragma once

#include <QMainWindow>
#include <QMessageBox>

#include <functional>
#include <memory>

class QAction;
class QLabel;

namespace kelvocad {

class CadDocument;
class CadSession;
class DrawingView;
class WindowPicker;

// KelvoCAD's main window: the drawing view, a prompt line under it, and the few commands
// of the program (open, save, undo, zoom to the whole drawing, exit). It installs the
// window picker into the session and publishes its native window ids as the session's
// window handles.
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
    // "KelvoCAD - <file name>", and " *" after it while the document has unsaved changes.
    void updateTitle();

    // The document the File commands work on (not owned; it must outlive the window).
    // Without one, as over a bare session, they stay disabled.
    void setDocument(CadDocument* document);

    // What the File commands ask the user. Message boxes and file dialogs by default;
    // tests put answers of their own here.
    struct Questions {
        std::function<QString()> fileToOpen;                    // empty: cancelled
        std::function<QString(const QString& current)> fileToSaveAs;  // empty: cancelled
        // Save, Discard or Cancel for a drawing with unsaved changes.
        std::function<QMessageBox::StandardButton(const QString& name)> saveChanges;
        std::function<void(const QString& message)> showError;
    };
    Questions& questions() noexcept { return questions_; }

    // The File commands. Each returns true when it did what it was asked; a failure is
    // shown and leaves the document as it was.
    bool openFile(const QString& path);
    bool saveDocument();
    bool saveDocumentAs(const QString& path);
    // Asks whether to save unsaved changes before they would be lost; false when the
    // user cancels or saving fails.
    bool confirmDiscardingChanges();

    // The prompts of the prompt line.
    static QString idlePrompt();
    static QString pickPrompt(int selected);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void publishWindowHandles();
    void createFileMenu();
    void updateFileActions();
    // Runs a save; a failure is shown. True when it succeeded.
    bool runSave(const std::function<void()>& save);

    std::shared_ptr<CadSession> session_;
    CadDocument* document_ = nullptr;
    Questions questions_;
    DrawingView* view_ = nullptr;
    QLabel* prompt_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* openAction_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* saveAsAction_ = nullptr;
    std::shared_ptr<WindowPicker> picker_;
};

}  // namespace kelvocad
