#include "kelvocad/app/CadMainWindow.h"

#include "kelvocad/app/CadDocument.h"
#include "kelvocad/app/DrawingView.h"
#include "kelvocad/app/WindowPicker.h"
#include "kelvocad/objects/CadSession.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
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

    createFileMenu();

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
        updateFileActions();
    });
    connect(view_, &DrawingView::pickEnded, this, [this] {
        prompt_->setText(idlePrompt());
        undoAction_->setEnabled(true);
        updateFileActions();
    });

    // A change may mark the drawing as unsaved; another drawing brings another name.
    connect(view_, &DrawingView::sessionEvent, this, [this] { updateTitle(); });

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

void CadMainWindow::createFileMenu()
{
    questions_.fileToOpen = [this] {
        return QFileDialog::getOpenFileName(this, tr("図面を開く"), QString(), tr("DXF 図面 (*.dxf);;すべてのファイル (*)"));
    };
    questions_.fileToSaveAs = [this](const QString& current) {
        return QFileDialog::getSaveFileName(this, tr("名前を付けて保存"), current, tr("DXF 図面 (*.dxf)"));
    };
    questions_.saveChanges = [this](const QString& name) {
        return QMessageBox::question(this, windowTitle(), tr("%1 への変更を保存しますか?").arg(name),
                                     QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    };
    questions_.showError = [this](const QString& message) { QMessageBox::warning(this, windowTitle(), message); };

    QMenu* fileMenu = menuBar()->addMenu(tr("ファイル(&F)"));
    openAction_ = fileMenu->addAction(tr("開く(&O)..."));
    openAction_->setObjectName(QStringLiteral("openAction"));
    openAction_->setShortcut(QKeySequence::Open);
    connect(openAction_, &QAction::triggered, this, [this] {
        if (!document_ || !confirmDiscardingChanges())
            return;
        const QString path = questions_.fileToOpen();
        if (!path.isEmpty())
            openFile(path);
    });

    saveAction_ = fileMenu->addAction(tr("上書き保存(&S)"));
    saveAction_->setObjectName(QStringLiteral("saveAction"));
    saveAction_->setShortcut(QKeySequence::Save);
    connect(saveAction_, &QAction::triggered, this, [this] { saveDocument(); });

    saveAsAction_ = fileMenu->addAction(tr("名前を付けて保存(&A)..."));
    saveAsAction_->setObjectName(QStringLiteral("saveAsAction"));
    saveAsAction_->setShortcut(QKeySequence::SaveAs);
    connect(saveAsAction_, &QAction::triggered, this, [this] {
        if (!document_)
            return;
        const QString path = questions_.fileToSaveAs(document_->path());
        if (!path.isEmpty())
            saveDocumentAs(path);
    });

    fileMenu->addSeparator();
    QAction* exitAction = fileMenu->addAction(tr("終了(&X)"));
    connect(exitAction, &QAction::triggered, this, &QWidget::close);
    updateFileActions();
}

void CadMainWindow::updateFileActions()
{
    const bool idle = !view_->isPicking();
    const bool hasFile = document_ && document_->canSave();
    openAction_->setEnabled(document_ && idle);
    saveAction_->setEnabled(hasFile);
    saveAsAction_->setEnabled(hasFile);
}

void CadMainWindow::setDocument(CadDocument* document)
{
    document_ = document;
    updateFileActions();
    updateTitle();
}

void CadMainWindow::updateTitle()
{
    const bool modified = document_ && document_->isModified();
    setWindowTitle(QStringLiteral("KelvoCAD - ") + QString::fromStdU16String(session_->documentName) +
                   (modified ? QStringLiteral(" *") : QString()));
}

bool CadMainWindow::openFile(const QString& path)
{
    // The session's objects belong to the drawing a pick is running in.
    if (!document_ || view_->isPicking())
        return false;
    try {
        document_->openInSession(path);
    } catch (const std::exception& error) {
        questions_.showError(tr("図面を開けませんでした: %1").arg(QString::fromUtf8(error.what())));
        return false;
    }
    updateFileActions();
    updateTitle();
    view_->zoomExtents();
    return true;
}

bool CadMainWindow::saveDocument()
{
    return document_ && document_->canSave() && runSave([this] { document_->save(); });
}

bool CadMainWindow::saveDocumentAs(const QString& path)
{
    return document_ && document_->canSave() && runSave([this, &path] { document_->saveAs(path); });
}

bool CadMainWindow::runSave(const std::function<void()>& save)
{
    try {
        save();
    } catch (const std::exception& error) {
        questions_.showError(tr("保存できませんでした: %1").arg(QString::fromUtf8(error.what())));
        return false;
    }
    updateTitle();
    statusBar()->showMessage(tr("保存しました"), 3000);
    return true;
}

bool CadMainWindow::confirmDiscardingChanges()
{
    if (!document_ || !document_->isModified())
        return true;
    switch (questions_.saveChanges(QString::fromStdU16String(session_->documentName))) {
    case QMessageBox::Save:
        return saveDocument();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

bool CadMainWindow::undoLastStep()
{
    if (view_->isPicking())
        return false;
    // The session tells the view to redraw. Nothing may unwind through the event loop.
    try {
        const bool undone = session_->undoLastStep();
        if (undone)
            view_->showChangesNow();
        return undone;
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
    if (!confirmDiscardingChanges()) {
        event->ignore();
        return;
    }
    // A pick in progress ends as cancelled, so the waiting caller gets its answer before
    // the program goes.
    if (view_->isPicking())
        view_->cancelPick();
    event->accept();
}

}  // namespace kelvocad
