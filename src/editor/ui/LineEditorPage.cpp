#include "editor/ui/LineEditorPage.h"

#include "editor/Align.h"
#include "editor/AttributeAcquisition.h"
#include "editor/LineEditorBehaviour.h"
#include "editor/LineEditorContext.h"
#include "editor/TextAcquisition.h"
#include "editor/WriteBack.h"
#include "editor/records/EntityArrays.h"
#include "ui/LineEditorWidget.h"
#include "ui/MessagePump.h"
#include "ui/PageContract.h"
#include "ui/UserMessages.h"
#include "ui_TKelvoMainForm.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace editor {

namespace {

bool isEnterKey(const QKeyEvent& key)
{
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
           !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

}  // namespace

QString LineEditorPage::withLineBreaks(QString selection, const QString& lineBreak)
{
    return selection.replace(QChar::ParagraphSeparator, lineBreak);
}

LineEditorPage::LineEditorPage(ui::PageContract& form)
    : form_(form), SynEdit1(*form.controls().SynEdit1)
{
    setObjectName(QStringLiteral("LineEditorPage"));
    windowColour_ = SynEdit1.palette().color(QPalette::Base);
    // Clicks and keys wait until a long load is in: they could act on half the lines.
    SynEdit1.setLoadPause(ui::processMessagesHoldingInput);
    connectHandlers();
}

LineEditorPage::~LineEditorPage()
{
    SynEdit1.setControlCharacterHandler({});
    SynEdit1.setLoadPause({});
}

std::function<void()> LineEditorPage::guarded(void (LineEditorPage::*handler)())
{
    return [this, handler] {
        pump_.restart();
        form_.errors().run([this, handler] { (this->*handler)(); });
    };
}

void LineEditorPage::connectHandlers()
{
    auto& ui = form_.controls();
    connect(ui.SpeedButton1, &QPushButton::clicked, this, guarded(&LineEditorPage::SpeedButton1Click));
    connect(ui.SpeedButton2, &QPushButton::clicked, this, guarded(&LineEditorPage::SpeedButton2Click));
    connect(ui.SpeedButton3, &QPushButton::clicked, this, guarded(&LineEditorPage::SpeedButton3Click));
    connect(ui.SpeedButton4, &QPushButton::clicked, this, guarded(&LineEditorPage::SpeedButton4Click));
    connect(ui.SpeedButton5, &QPushButton::clicked, this, guarded(&LineEditorPage::SpeedButton5Click));
    connect(ui.SpeedButton6, &QPushButton::clicked, this, guarded(&LineEditorPage::SpeedButton6Click));
    connect(ui.SpeedButton8, &QPushButton::clicked, this, guarded(&LineEditorPage::SpeedButton8Click));

    QMenu* popup = form_.mainWindow().findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    const auto connectItem = [this, popup](const char* name, void (LineEditorPage::*handler)()) {
        if (QAction* action = popup->findChild<QAction*>(QString::fromLatin1(name)))
            connect(action, &QAction::triggered, this, guarded(handler));
    };
    connectItem("N10", &LineEditorPage::N10Click);
    connectItem("N11", &LineEditorPage::N11Click);
    connectItem("N12", &LineEditorPage::N12Click);
    connectItem("N20", &LineEditorPage::N20Click);
    connect(popup, &QMenu::aboutToShow, this, guarded(&LineEditorPage::PopupMenu1Popup));

    connect(&SynEdit1, &ui::LineEditorWidget::clicked, this, guarded(&LineEditorPage::SynEdit1CaretEvent));
    connect(&SynEdit1, &ui::LineEditorWidget::keyReleased, this, guarded(&LineEditorPage::SynEdit1CaretEvent));
    SynEdit1.setControlCharacterHandler([this](char16_t key) {
        bool swallowed = false;
        form_.errors().run([&] { swallowed = SynEdit1KeyPress(key); });
        // A key the handler meant to take stays taken when its command failed.
        return swallowed || key == 10 || key == 3 || key == 24;
    });

    ui.Edit1->installEventFilter(this);
    ui.Edit2->installEventFilter(this);
}

void LineEditorPage::changeDrawing(const std::function<void(LineEditorContext&)>& operation)
{
    // Write-back and Align pair line i with record i while they let messages through: a line
    // typed, cut or cleared meanwhile would move texts onto other entities, or delete them.
    const bool wasReadOnly = SynEdit1.isReadOnly();
    SynEdit1.setReadOnly(true);
    try {
        withContext(operation);
    } catch (...) {
        SynEdit1.setReadOnly(wasReadOnly);
        throw;
    }
    SynEdit1.setReadOnly(wasReadOnly);
}

bool LineEditorPage::cadOperationRunning() const
{
    return form_.lineEditorFields().cadOperationRunning;
}

void LineEditorPage::withContext(const std::function<void(LineEditorContext&)>& operation)
{
    const cadlink::CadLink link = form_.cadLink();
    LineEditorContext context{link, *this, form_.entities().TextEntities, form_.lineEditorFields()};
    operation(context);
}

void LineEditorPage::bringMainWindowForward(LineEditorContext& context)
{
    cadlink::ForceForeground(context.link.windows, context.link.ownWindow.handle());
}

void LineEditorPage::SpeedButton1Click()
{
    withContext([](LineEditorContext& context) { editor::SpeedButton1Click(context); });
}

void LineEditorPage::SpeedButton2Click()
{
    changeDrawing([](LineEditorContext& context) { editor::SpeedButton2Click(context); });
}

void LineEditorPage::SpeedButton3Click()
{
    SynEdit1.selectAll();
}

void LineEditorPage::SpeedButton4Click()
{
    if (cadOperationRunning())
        return;
    editor::SpeedButton4Click(*this, form_.lineEditorFields());
}

void LineEditorPage::SpeedButton5Click()
{
    editor::SpeedButton5Click(*this);
}

void LineEditorPage::SpeedButton6Click()
{
    changeDrawing([](LineEditorContext& context) { editor::SpeedButton6Click(context); });
}

void LineEditorPage::SpeedButton8Click()
{
    withContext([](LineEditorContext& context) { editor::SpeedButton8Click(context); });
}

void LineEditorPage::N10Click()
{
    N11Click();
    if (cadOperationRunning())
        return;
    SynEdit1.textCursor().removeSelectedText();
}

void LineEditorPage::N11Click()
{
    // With nothing selected the clipboard is emptied: it always holds what was selected.
    QApplication::clipboard()->setText(withLineBreaks(SynEdit1.textCursor().selectedText(), QStringLiteral("\n")));
}

void LineEditorPage::N12Click()
{
    if (cadOperationRunning())
        return;
    UndoMark(true);
    SynEdit1.paste();
}

void LineEditorPage::N20Click()
{
    if (cadOperationRunning())
        return;
    editor::N20Click(*this, form_.lineEditorFields());
}

void LineEditorPage::PopupMenu1Popup()
{
    const PopupMenuEnabling enabling = popupMenuEnabling(lineCount(), !SynEdit1.textCursor().hasSelection());
    QMenu* popup = form_.mainWindow().findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    const auto enable = [popup](std::initializer_list<const char*> names, bool enabled) {
        for (const char* name : names)
            if (QAction* action = popup->findChild<QAction*>(QString::fromLatin1(name)))
                action->setEnabled(enabled);
    };
    enable({"N1", "N4", "N7", "N14"}, enabling.wholeText);
    enable({"N2", "N5", "N8", "N10", "N11", "N15"}, enabling.selection);
}

void LineEditorPage::SynEdit1CaretEvent()
{
    const int caretY = caretLine();
    if (caretY == form_.lineEditorFields().CaretY_Old)
        return;
    withContext([caretY](LineEditorContext& context) { CaretYChanged(context, caretY); });
}

bool LineEditorPage::SynEdit1KeyPress(char16_t key)
{
    switch (key) {
    case 10:
        // Ctrl+Enter writes back whether or not the button is enabled.
        changeDrawing([this](LineEditorContext& context) {
            editor::SpeedButton2Click(context);
            bringMainWindowForward(context);
        });
        return true;
    case 3:
        N11Click();
        return true;
    case 24:
        N10Click();
        return true;
    default:
        return false;
    }
}

void LineEditorPage::Edit1Enter()
{
    form_.controls().Edit2->setFocus();
}

void LineEditorPage::Edit2Enter()
{
    if (!form_.controls().SpeedButton6->isEnabled())
        return;
    changeDrawing([this](LineEditorContext& context) {
        editor::SpeedButton6Click(context);
        form_.controls().Edit2->setFocus();
        bringMainWindowForward(context);
    });
}

bool LineEditorPage::eventFilter(QObject* watched, QEvent* event)
{
    auto& ui = form_.controls();
    if (event->type() == QEvent::KeyPress && (watched == ui.Edit1 || watched == ui.Edit2) &&
        isEnterKey(*static_cast<QKeyEvent*>(event))) {
        form_.errors().run([&] { watched == ui.Edit1 ? Edit1Enter() : Edit2Enter(); });
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void LineEditorPage::UndoMark(bool flag)
{
    editor::UndoMark(*this, form_.lineEditorFields(), flag);
}

void LineEditorPage::refreshLineEditorStatus()
{
    editor::refreshLineEditorStatus(*this, form_.entities().TextEntities, form_.lineEditorFields());
}

}  // namespace editor
