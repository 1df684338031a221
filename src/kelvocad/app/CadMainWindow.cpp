#include "kelvocad/app/CadMainWindow.h"

#include "kelvocad/app/DrawingView.h"
#include "kelvocad/app/WindowPicker.h"
#include "kelvocad/objects/CadSession.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>

#include <exception>

namespace kelvocad {

CadMainWindow::CadMainWindow(std::shared_ptr<CadSession> session, QWidget* parent)
    : QMainWindow(parent), session_(std::move(session))
{
    setObjectName(QStringLiteral("kelvoCadMainWindow"));
    view_ = new DrawingView(session_, this);
    setCentralWidget(view_);

    prompt_ = new QLabel(idlePrompt(), this);
    prompt_->setObjectName(QStringLiteral("promptLine"));
    prompt_->setTextInteractionFlags(Qt::NoTextInteraction);
    statusBar()->addWidget(prompt_, 1);
    statusBar()->setSizeGripEnabled(true);

    QMenu* fileMenu = menuBar()->addMenu(tr("ファイル(&F)"));
    saveAction_ = fileMenu->addAction(tr("上書き保存(&S)"));
    saveAction_->setObjectName(QStringLiteral("saveAction"));
    saveAction_->setShortcut(QKeySequence::Save);
    saveAction_->setEnabled(false);
    connect(saveAction_, &QAction::triggered, this, [this] {
        if (!save_)
            return;
        try {
            save_();
            statusBar()->showMessage(tr("保存しました"), 3000);
        } catch (const std::exception& error) {
            QMessageBox::warning(this, windowTitle(), tr("保存できませんでした: %1").arg(QString::fromUtf8(error.what())));
        }
    });
    fileMenu->addSeparator();
    QAction* exitAction = fileMenu->addAction(tr("終了(&X)"));
    connect(exitAction, &QAction::triggered, this, &QWidget::close);

    QMenu* editMenu = menuBar()->addMenu(tr("編集(&E)"));
    undoAction_ = editMenu->addAction(tr("元に戻す(&U)"));
    undoAction_->setObjectName(QStringLiteral("undoAction"));
    undoAction_->setShortcut(QKeySequence::Undo);
    connect(undoAction_, &QAction::triggered, this, [this] { undoLastStep(); });

    QMenu* viewMenu = menuBar()->addMenu(tr("表示(&V)"));
    QAction* extents = viewMenu->addAction(tr("全体表示(&E)"));
    extents->setObjectName(QStringLiteral("zoomExtentsAction"));
    extents->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(extents, &QAction::triggered, view_, &DrawingView::zoomExtents);

    connect(view_, &DrawingView::pickSelectionChanged, this, [this](int count) {
        prompt_->setText(pickPrompt(count));
        undoAction_->setEnabled(false);
    });
    connect(view_, &DrawingView::pickEnded, this, [this] {
        prompt_->setText(idlePrompt());
        undoAction_->setEnabled(true);
    });

    // Another drawing may bring another name.
    connect(view_, &DrawingView::sessionEvent, this, [this](SessionEvent event) {
        if (event == SessionEvent::DrawingChanged)
            updateTitle();
    });

    picker_ = std::make_shared<WindowPicker>(view_);
    session_->setPicker(picker_);
    updateTitle();
    resize(1100, 760);
}

CadMainWindow::~CadMainWindow()
{
    // The session outlives the window; it must not call into a view that is gone.
    if (view_ && view_->isPicking())
        view_->cancelPick();
    session_->applicationWindow = 0;
    session_->documentWindow = 0;
}

QString CadMainWindow::idlePrompt()
{
    return tr("コマンド:");
}

QString CadMainWindow::pickPrompt(int selected)
{
    QString text = tr("オブジェクトを選択: クリックまたは窓で指定、Enter/右クリックで確定、Esc で取消"
                      "  (Select objects: Enter or right-click ends, Esc cancels)");
    if (selected > 0)
        text += tr("  — %1 個選択").arg(selected);
    return text;
}

void CadMainWindow::updateTitle()
{
    setWindowTitle(QStringLiteral("KelvoCAD - ") + QString::fromStdU16String(session_->documentName));
}

void CadMainWindow::setSaveHandler(std::function<void()> save)
{
    save_ = std::move(save);
    saveAction_->setEnabled(static_cast<bool>(save_));
}

bool CadMainWindow::undoLastStep()
{
    if (view_->isPicking())
        return false;
    // The session tells the view to redraw. Nothing may unwind through the event loop.
    try {
        return session_->undoLastStep();
    } catch (const std::exception& error) {
        QMessageBox::warning(this, windowTitle(), tr("元に戻せませんでした: %1").arg(QString::fromUtf8(error.what())));
        return false;
    }
}

void CadMainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    publishWindowHandles();
}

void CadMainWindow::publishWindowHandles()
{
    // X11 window ids fit in 32 bits, like the HWND values a 32-bit Automation client sees.
    session_->applicationWindow = static_cast<int32_t>(winId());
    session_->documentWindow = static_cast<int32_t>(view_->winId());
}

void CadMainWindow::closeEvent(QCloseEvent* event)
{
    // A pick in progress ends as cancelled, so the waiting caller gets its answer before
    // the program goes.
    if (view_->isPicking())
        view_->cancelPick();
    event->accept();
}

}  // namespace kelvocad
