// The line editor page in the main window, on the offscreen platform, against KelvoCAD in
// process: what a user's clicks and keys do to the drawing and to the page.
#include "app/TKelvoMainForm.h"
#include "app/ui/TestDoubles.h"
#include "automation/InProcessRunningObjects.h"
#include "cadlink/FakeWindowServices.h"
#include "cadlink/TargetProgID.h"
#include "common/Utf.h"
#include "editor/ui/LineEditorPage.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/CadSession.h"
#include "kelvocad/objects/ScriptedPicker.h"
#include "ui/LineEditorWidget.h"
#include "ui_TKelvoMainForm.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QTemporaryDir>
#include <QTextBlock>

#include <algorithm>
#include <memory>
#include <optional>
#include <sstream>

namespace {

using testing_support::RecordingLauncher;
using testing_support::RecordingMessages;
using Kind = ui::UserMessages::Kind;

class LineEditorPageTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RecordingMessages messages;
    RecordingLauncher launcher;
    std::shared_ptr<kelvocad::CadSession> session = kelvocad::CadSession::create(std::make_shared<kelvocad::Drawing>());
    automation::InProcessRunningObjects runningObjects;
    cadlink::fakes::FakeWindowServices windows;
    cadlink::fakes::FakeOwnWindow ownWindow{windows.log, 7};
    std::unique_ptr<app::TKelvoMainForm> form;
    Ui::TKelvoMainForm* ui = nullptr;
    ui::LineEditorWidget* editor = nullptr;

    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        windows.ownWindow = 7;
        session->applicationWindow = 99;
        form = std::make_unique<app::TKelvoMainForm>(std::filesystem::path(dir.path().toStdU16String()) / "kelvoedit",
                                                     messages, launcher);
        form->setAutomation(runningObjects, windows, ownWindow);
        runningObjects.announce(cadlink::TargetProgID, session->application());
        ui = &form->controls();
        editor = ui->SynEdit1;
    }

    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    kelvocad::Drawing& drawing() { return session->drawing(); }

    std::u16string addText(const std::u16string& string, double x, double y)
    {
        kelvocad::TextEntity text;
        text.string = string;
        text.layer = u"0";
        text.insertionPoint = {x, y, 0.0};
        text.alignmentPoint = {x, y, 0.0};
        return drawing().addText(text);
    }

    // Three TEXTs in a column, 10 apart, picked out of order and loaded by the TEXT button.
    std::vector<std::u16string> acquireColumn()
    {
        std::vector<std::u16string> handles = {addText(u"A", 0, 100), addText(u"B", 0, 90), addText(u"C", 0, 80)};
        session->scriptedPicker()->nextPickReturns({handles[2], handles[0], handles[1]});
        ui->SpeedButton1->click();
        drawing().clearUndo();
        return handles;
    }

    struct TextState {
        std::string string;
        double x, y;
        bool operator==(const TextState&) const = default;
    };
    std::vector<TextState> texts()
    {
        std::vector<TextState> all;
        for (const auto& e : drawing().entities())
            if (const auto* t = std::get_if<kelvocad::TextEntity>(&e))
                all.push_back({common::toUtf8(t->string), t->insertionPoint.x, t->insertionPoint.y});
        return all;
    }

    // One CAD undo takes the drawing back to `before`, and there was nothing else to undo.
    void expectOneUndoRestores(const std::vector<TextState>& before)
    {
        EXPECT_EQ(drawing().journal().markDepth(), 0) << "undo group left open";
        EXPECT_TRUE(session->undoLastStep());
        EXPECT_EQ(texts(), before);
        EXPECT_FALSE(session->undoLastStep()) << "more than one undo step";
    }

    QStringList lines() const
    {
        QStringList all;
        for (int i = 0; i < editor->lineCount(); ++i)
            all << editor->lineText(i);
        return all;
    }

    void press(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
    {
        QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(target, &down);
        QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(target, &up);
    }

    void type(const QString& text)
    {
        for (const QChar c : text)
            press(editor, c == u'\n' ? Qt::Key_Return : 0, Qt::NoModifier, QString(c));
    }

    void caretTo(int line, int column = -1)  // from 0; column -1: the end of the line
    {
        const QTextBlock block = editor->document()->findBlockByNumber(line);
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + (column < 0 ? block.length() - 1 : column));
        editor->setTextCursor(cursor);
    }

    QAction* action(const char* name) { return form->findChild<QAction*>(QString::fromLatin1(name)); }

    bool logged(const std::string& line) const
    {
        return std::find(windows.log.begin(), windows.log.end(), line) != windows.log.end();
    }
};

struct PitchFormatCase {
    QLocale locale;
    QString dX, dY;
};

TEST_F(LineEditorPageTest, TextButtonLoadsThePickedTextsAndProposesThePitchInTheUsersLocale)
{
    const PitchFormatCase cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), QStringLiteral("0.00"), QStringLiteral("-10.00")},
        {QLocale(QLocale::German, QLocale::Germany), QStringLiteral("0,00"), QStringLiteral("-10,00")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        QLocale::setDefault(c.locale);
        const auto handles = acquireColumn();

        EXPECT_EQ(lines(), (QStringList{u"A"_qs, u"B"_qs, u"C"_qs}));
        EXPECT_EQ(editor->textCursor().position(), 0);
        ASSERT_EQ(form->entities().TextEntities.size(), 3u);
        EXPECT_EQ(form->entities().TextEntities[0].sHnd, handles[0]);
        EXPECT_EQ(ui->Edit1->text(), c.dX);
        EXPECT_EQ(ui->Edit2->text(), c.dY);
        EXPECT_EQ(ui->Edit1->palette().color(QPalette::Text), QColor(0, 0, 0));
        EXPECT_TRUE(ui->SpeedButton2->isEnabled());
        EXPECT_TRUE(ui->SpeedButton6->isEnabled());
        EXPECT_FALSE(ui->SpeedButton4->isEnabled());
        EXPECT_TRUE(logged("own minimize")) << "the window makes room for the pick";
        EXPECT_TRUE(logged("own normal"));
        EXPECT_TRUE(messages.shown.empty());
        windows.log.clear();
    }
}

TEST_F(LineEditorPageTest, ThePitchIsShownWithoutGroupSeparators)
{
    const PitchFormatCase cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), QStringLiteral("1234.50"), QStringLiteral("-1234.50")},
        {QLocale(QLocale::German, QLocale::Germany), QStringLiteral("1234,50"), QStringLiteral("-1234,50")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        QLocale::setDefault(c.locale);
        session->scriptedPicker()->nextPickReturns({addText(u"A", 0, 2469), addText(u"B", 1234.5, 1234.5)});
        ui->SpeedButton1->click();
        EXPECT_EQ(ui->Edit1->text(), c.dX);
        EXPECT_EQ(ui->Edit2->text(), c.dY);
        EXPECT_EQ(ui->Edit2->palette().color(QPalette::Text), QColor(0, 0, 0)) << "read back as the same number";
    }
}

TEST_F(LineEditorPageTest, OneTextShowsAZeroPitchInRedWithItsMessage)
{
    session->scriptedPicker()->nextPickReturns({addText(u"A", 0, 0)});
    ui->SpeedButton1->click();

    EXPECT_EQ(ui->Edit1->text(), u"0.00"_qs);
    EXPECT_EQ(ui->Edit2->palette().color(QPalette::Text), QColor(255, 0, 0));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, Kind::Plain);
    EXPECT_TRUE(messages.shown[0].text.startsWith(u"dX, dY が 0 です．\r"_qs));
    EXPECT_TRUE(ui->SpeedButton2->isEnabled());
    EXPECT_FALSE(ui->SpeedButton6->isEnabled());
}

TEST_F(LineEditorPageTest, CtrlEnterWritesTheEditedLinesBackInOneUndoStep)
{
    acquireColumn();
    const auto before = texts();
    caretTo(1);
    type(u"2"_qs);
    caretTo(2);
    type(u"\nD"_qs);
    windows.foreground = 0;

    press(editor, Qt::Key_Return, Qt::ControlModifier);

    EXPECT_EQ(lines(), (QStringList{u"A"_qs, u"B2"_qs, u"C"_qs, u"D"_qs})) << "Ctrl+Enter types nothing";
    EXPECT_EQ(texts(), (std::vector<TextState>{{"A", 0, 100}, {"B2", 0, 90}, {"C", 0, 80}, {"D", 0, 70}}));
    EXPECT_EQ(windows.foreground, 7) << "the main window comes forward after the CAD window";
    EXPECT_FALSE(form->runFlag);
    EXPECT_FALSE(ui->SpeedButton5->isEnabled());
    EXPECT_TRUE(ui->SpeedButton3->isVisibleTo(form.get()));
    EXPECT_TRUE(messages.shown.empty());
    expectOneUndoRestores(before);
}

TEST_F(LineEditorPageTest, CtrlEnterBeforeAnyAcquisitionChangesNothingInTheDrawing)
{
    addText(u"X", 0, 0);
    drawing().clearUndo();
    const auto before = texts();
    editor->setPlainText(u"one\ntwo"_qs);
    EXPECT_FALSE(ui->SpeedButton2->isEnabled());

    press(editor, Qt::Key_Return, Qt::ControlModifier);

    EXPECT_EQ(texts(), before);
    EXPECT_FALSE(session->undoLastStep());
    EXPECT_EQ(form->entities().TextEntities.size(), 2u) << "one empty record per line";
}

TEST_F(LineEditorPageTest, StopEndsTheWriteBackAfterTheCurrentRecord)
{
    acquireColumn();
    const auto before = texts();
    editor->setPlainText(u"A1\nB1\nC1\nD\nE"_qs);
    // The click waits in the event queue until the write-back lets messages through.
    QMetaObject::invokeMethod(ui->SpeedButton5, "click", Qt::QueuedConnection);

    ui->SpeedButton2->click();

    EXPECT_EQ(texts(), (std::vector<TextState>{{"A1", 0, 100}, {"B", 0, 90}, {"C", 0, 80}}))
        << "the first record is written, nothing after it and nothing added";
    EXPECT_FALSE(form->runFlag);
    EXPECT_FALSE(ui->SpeedButton5->isEnabled());
    EXPECT_TRUE(ui->SpeedButton3->isVisibleTo(form.get()));
    EXPECT_FALSE(ui->Label2->isVisibleTo(form.get()));
    expectOneUndoRestores(before);
}

TEST_F(LineEditorPageTest, CadCommandsClickedWhileAWriteBackRunsAreIgnored)
{
    acquireColumn();
    editor->setPlainText(u"A1\nB1\nC1"_qs);
    session->scriptedPicker()->nextPickReturns({});
    QMetaObject::invokeMethod(ui->SpeedButton1, "click", Qt::QueuedConnection);
    QMetaObject::invokeMethod(ui->SpeedButton6, "click", Qt::QueuedConnection);

    ui->SpeedButton2->click();

    EXPECT_EQ(session->scriptedPicker()->pendingPicks(), 1u) << "no pick started inside the write-back";
    EXPECT_EQ(texts(), (std::vector<TextState>{{"A1", 0, 100}, {"B1", 0, 90}, {"C1", 0, 80}}));
    EXPECT_EQ(lines(), (QStringList{u"A1"_qs, u"B1"_qs, u"C1"_qs}));
    EXPECT_TRUE(session->undoLastStep());
    EXPECT_FALSE(session->undoLastStep()) << "Align did not run a second undo group";
}

// Write-back pairs line i with record i while it lets messages through: lines changed
// meanwhile would move texts onto other entities or delete them.
TEST_F(LineEditorPageTest, LinesCannotChangeWhileAWriteBackRuns)
{
    acquireColumn();
    editor->setPlainText(u"A1\nB1\nC1"_qs);
    caretTo(0, 0);
    QMetaObject::invokeMethod(action("N20"), "trigger", Qt::QueuedConnection);
    QMetaObject::invokeMethod(
        editor, [this] { press(editor, 0, Qt::NoModifier, u"Z"_qs); }, Qt::QueuedConnection);

    ui->SpeedButton2->click();

    EXPECT_EQ(texts(), (std::vector<TextState>{{"A1", 0, 100}, {"B1", 0, 90}, {"C1", 0, 80}}));
    EXPECT_EQ(lines(), (QStringList{u"A1"_qs, u"B1"_qs, u"C1"_qs}));
    EXPECT_FALSE(editor->isReadOnly()) << "editable again afterwards";
    press(editor, 0, Qt::NoModifier, u"Z"_qs);
    EXPECT_EQ(editor->lineText(0), u"ZA1"_qs);
}

TEST_F(LineEditorPageTest, EnterInTheDxBoxMovesOnAndEnterInTheDyBoxAligns)
{
    form->show();
    form->activateWindow();
    QApplication::processEvents();
    std::vector<std::u16string> handles = {addText(u"A", 0, 100), addText(u"B", 0, 95), addText(u"C", 0, 70)};
    session->scriptedPicker()->nextPickReturns(handles);
    ui->SpeedButton1->click();
    drawing().clearUndo();
    const auto before = texts();
    ASSERT_EQ(ui->Edit2->text(), u"-25.00"_qs);

    ui->Edit1->setFocus();
    press(ui->Edit1, Qt::Key_Return);
    EXPECT_EQ(ui->Edit1->text(), u"0.00"_qs);
    EXPECT_TRUE(ui->Edit2->hasFocus());

    windows.foreground = 0;
    press(ui->Edit2, Qt::Key_Return);
    EXPECT_EQ(texts(), (std::vector<TextState>{{"A", 0, 100}, {"B", 0, 75}, {"C", 0, 50}}));
    EXPECT_TRUE(ui->Edit2->hasFocus());
    EXPECT_EQ(windows.foreground, 7);
    EXPECT_TRUE(messages.shown.empty());
    expectOneUndoRestores(before);
}

TEST_F(LineEditorPageTest, EnterInTheDyBoxDoesNothingWhileAlignIsDisabled)
{
    session->scriptedPicker()->nextPickReturns({addText(u"A", 0, 100)});
    ui->SpeedButton1->click();
    messages.shown.clear();
    drawing().clearUndo();
    ui->Edit2->setText(u"-10"_qs);

    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    EXPECT_TRUE(QApplication::sendEvent(ui->Edit2, &enter)) << "the key is swallowed";
    EXPECT_EQ(ui->Edit2->text(), u"-10"_qs);
    EXPECT_FALSE(session->undoLastStep());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LineEditorPageTest, CaretLineChangesPanTheViewWhenZoomIsOn)
{
    acquireColumn();
    ui->CheckBox9->setChecked(true);
    session->view().center = {500, 500, 0};

    // No line was handled yet: the first key shows the first record.
    press(editor, Qt::Key_Right);
    EXPECT_EQ(session->view().center.y, 100);
    session->view().center = {500, 500, 0};
    press(editor, Qt::Key_Left);
    EXPECT_EQ(session->view().center.y, 500) << "moving within the line does nothing";

    press(editor, Qt::Key_Down);
    EXPECT_EQ(session->view().center.x, 0);
    EXPECT_EQ(session->view().center.y, 90);

    // Past the records the view goes where write-back would put a text typed there.
    caretTo(2);
    type(u"\n"_qs);
    EXPECT_EQ(session->view().center.y, 70);
    type(u"\n"_qs);
    EXPECT_EQ(session->view().center.y, 60);

    // A dX box without a number ends the zoom with the conversion error.
    ui->Edit1->setText(u"abc"_qs);
    caretTo(3);
    press(editor, Qt::Key_End);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, Kind::Error);
}

TEST_F(LineEditorPageTest, CaretLineChangesDoNotPanWhenZoomIsOff)
{
    acquireColumn();
    session->view().center = {500, 500, 0};
    press(editor, Qt::Key_Down);
    EXPECT_EQ(session->view().center.y, 500);
}

TEST_F(LineEditorPageTest, AttrButtonLoadsOneTagAndCtrlEnterWritesOnlyValues)
{
    const auto addReference = [this](double y, std::vector<std::pair<std::u16string, std::u16string>> attributes) {
        kelvocad::BlockReference reference;
        reference.name = u"EQ";
        reference.layer = u"0";
        reference.insertionPoint = {0.0, y, 0.0};
        for (const auto& [tag, value] : attributes) {
            kelvocad::AttributeReference attribute;
            attribute.tag = tag;
            attribute.string = value;
            reference.attributes.push_back(attribute);
        }
        return drawing().addBlockReference(reference);
    };
    const auto values = [this] {
        std::vector<std::string> all;
        for (const auto& e : drawing().entities())
            if (const auto* b = std::get_if<kelvocad::BlockReference>(&e))
                for (const auto& a : b->attributes)
                    all.push_back(common::toUtf8(a.tag + u"=" + a.string));
        return all;
    };
    const auto low = addReference(0, {{u"NAME", u"P-1"}, {u"SENBAN", u"7"}});
    const auto none = addReference(50, {{u"SENBAN", u"8"}});
    const auto high = addReference(20, {{u"NAME", u"P-2"}});
    drawing().clearUndo();
    const auto before = values();
    ui->ComboBox1->setCurrentText(u"NAME:機器名"_qs);
    session->scriptedPicker()->nextPickReturns({low, none, high});

    ui->SpeedButton8->click();

    EXPECT_EQ(lines(), (QStringList{u"P-2"_qs, u"P-1"_qs})) << "top to bottom by the references' points";
    EXPECT_EQ(ui->Label2->text(), u"NAME = 2 / 3"_qs);
    EXPECT_TRUE(form->lineEditorFields().ATTmode);
    EXPECT_TRUE(ui->SpeedButton2->isEnabled());
    EXPECT_FALSE(ui->SpeedButton6->isEnabled());
    EXPECT_TRUE(messages.shown.empty());

    caretTo(0);
    type(u"X"_qs);
    caretTo(1);
    type(u"\nsurplus"_qs);
    form->lineEditorPage().refreshLineEditorStatus();
    EXPECT_EQ(editor->palette().color(QPalette::Base), QColor(255, 255, 0)) << "a line without a record";
    EXPECT_EQ(ui->Label1->text(), u"取得データ数 = 2"_qs);

    press(editor, Qt::Key_Return, Qt::ControlModifier);

    EXPECT_EQ(values(), (std::vector<std::string>{"NAME=P-1", "SENBAN=7", "SENBAN=8", "NAME=P-2X"}));
    EXPECT_EQ(texts(), std::vector<TextState>{}) << "no TEXT for the surplus line";
    EXPECT_EQ(form->entities().TextEntities.size(), 2u);
    EXPECT_EQ(drawing().journal().markDepth(), 0);
    EXPECT_TRUE(session->undoLastStep());
    EXPECT_EQ(values(), before);
    EXPECT_FALSE(session->undoLastStep());
}

TEST_F(LineEditorPageTest, OneEmptyAttributeValueIsOneLine)
{
    kelvocad::BlockReference reference;
    reference.name = u"EQ";
    reference.layer = u"0";
    kelvocad::AttributeReference attribute;
    attribute.tag = u"NAME";
    reference.attributes.push_back(attribute);
    session->scriptedPicker()->nextPickReturns({drawing().addBlockReference(reference)});
    ui->ComboBox1->setCurrentText(u"NAME:機器名"_qs);

    ui->SpeedButton8->click();

    EXPECT_EQ(editor->lineCount(), 1);
    EXPECT_EQ(ui->Label2->text(), u"NAME = 1 / 1"_qs);
    emit form->findChild<QMenu*>(QStringLiteral("PopupMenu1"))->aboutToShow();
    EXPECT_TRUE(action("N1")->isEnabled()) << "the whole-text commands have a line to work on";
    session->callLog().clear();
    press(editor, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(session->callLog().count(u"StartUndoMark"), 1u) << "the write-back runs over the line";

    type(u"P-1"_qs);
    press(editor, Qt::Key_Backspace, Qt::NoModifier, u"\b"_qs);
    press(editor, Qt::Key_Backspace, Qt::NoModifier, u"\b"_qs);
    press(editor, Qt::Key_Backspace, Qt::NoModifier, u"\b"_qs);
    EXPECT_EQ(editor->lineCount(), 0) << "once edited, an empty editor has no line again";
}

struct EditorKeyCase {
    const char* title;
    int key;
    Qt::KeyboardModifiers modifiers;
    int selectionStart, selectionEnd;  // positions in "abc\ndef"
    QString clipboardBefore;
    QString textAfter;
    QString clipboardAfter;
};

TEST_F(LineEditorPageTest, ClipboardKeysAreTheProgramsCommands)
{
    const EditorKeyCase cases[] = {
        {"Ctrl+C copies the selection", Qt::Key_C, Qt::ControlModifier, 1, 6, u"old"_qs, u"abc\ndef"_qs,
         u"bc\nde"_qs},
        {"Ctrl+C with nothing selected empties the clipboard", Qt::Key_C, Qt::ControlModifier, 2, 2, u"old"_qs,
         u"abc\ndef"_qs, QString()},
        {"Ctrl+X cuts", Qt::Key_X, Qt::ControlModifier, 1, 6, u"old"_qs, u"af"_qs, u"bc\nde"_qs},
        {"Ctrl+X with nothing selected", Qt::Key_X, Qt::ControlModifier, 2, 2, u"old"_qs, u"abc\ndef"_qs, QString()},
        {"Ctrl+V is the editor's own paste", Qt::Key_V, Qt::ControlModifier, 1, 2, u"XY"_qs, u"aXYc\ndef"_qs,
         u"XY"_qs},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        editor->setPlainText(u"abc\ndef"_qs);
        QApplication::clipboard()->setText(c.clipboardBefore);
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(c.selectionStart);
        cursor.setPosition(c.selectionEnd, QTextCursor::KeepAnchor);
        editor->setTextCursor(cursor);

        press(editor, c.key, c.modifiers);

        EXPECT_EQ(editor->toPlainText(), c.textAfter);
        EXPECT_EQ(QApplication::clipboard()->text(), c.clipboardAfter);
    }
}

TEST_F(LineEditorPageTest, ClearThenUndoBringsTheTextBackOnce)
{
    editor->setPlainText(u"one\ntwo"_qs);
    action("N20")->trigger();
    EXPECT_EQ(editor->lineCount(), 0);
    EXPECT_TRUE(ui->SpeedButton4->isEnabled());

    ui->SpeedButton4->click();
    EXPECT_EQ(lines(), (QStringList{u"one"_qs, u"two"_qs}));
    EXPECT_FALSE(ui->SpeedButton4->isEnabled());
    EXPECT_FALSE(form->lineEditorFields().undoFlag);
}

TEST_F(LineEditorPageTest, PasteSavesTheTextFirstAndUndoGoesThroughTheEditorsHistory)
{
    editor->setPlainText(u"one"_qs);
    caretTo(0);
    QApplication::clipboard()->setText(u"+two"_qs);
    action("N12")->trigger();
    EXPECT_EQ(lines(), (QStringList{u"one+two"_qs}));
    EXPECT_EQ(form->lineEditorFields().undoText, u"one");

    ui->SpeedButton4->click();  // the paste itself, from the editor's history
    EXPECT_EQ(lines(), (QStringList{u"one"_qs}));
    EXPECT_TRUE(ui->SpeedButton4->isEnabled()) << "the saved text is still there";
}

struct PopupCase {
    const char* title;
    QString text;
    bool select;
    bool wholeText, selection;
};

TEST_F(LineEditorPageTest, PopupMenuEnablesItsItemsByLinesAndSelection)
{
    const PopupCase cases[] = {
        {"empty editor", QString(), false, false, false},
        {"lines without a selection", u"a\nb"_qs, false, true, false},
        {"a selection", u"a\nb"_qs, true, true, true},
    };
    QMenu* popup = form->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        editor->setPlainText(c.text);
        if (c.select)
            editor->selectAll();
        emit popup->aboutToShow();
        for (const char* name : {"N1", "N4", "N7", "N14"})
            EXPECT_EQ(action(name)->isEnabled(), c.wholeText) << name;
        for (const char* name : {"N2", "N5", "N8", "N10", "N11", "N15"})
            EXPECT_EQ(action(name)->isEnabled(), c.selection) << name;
        for (const char* name : {"N20", "N12", "N17", "N39", "N40", "N25", "N19"})
            EXPECT_TRUE(action(name)->isEnabled()) << name;
    }
}

struct StatusCase {
    const char* title;
    bool attributeMode;
    int caretLine;  // from 0
    QString selection;
    QColor background;
    QString panel0, panel1, label1;
};

TEST_F(LineEditorPageTest, StatusRefreshShowsCountsCaretSelectionAndTheBackground)
{
    const QColor window = editor->palette().color(QPalette::Base);
    const StatusCase cases[] = {
        {"caret on a record", false, 1, QString(), window, u"Row = 2 / 3 Col= 1"_qs, u"selRows = 0"_qs,
         u"取得データ数 = 3"_qs},
        {"caret past the records, TEXT", false, 2, QString(), QColor(221, 255, 253), u"Row = 3 / 3 Col= 1"_qs,
         u"selRows = 0"_qs, u"取得データ数 = 3"_qs},
        {"caret past the records, attributes", true, 3, QString(), QColor(255, 255, 0), u"Row = 4 / 2 Col= 1"_qs,
         u"selRows = 0"_qs, u"取得データ数 = 2"_qs},
        {"two whole lines selected", false, 0, u"a\nb\n"_qs, QColor(221, 255, 253), u"Row = 3 / 3 Col= 1"_qs,
         u"selRows = 2"_qs,
         u"取得データ数 = 3"_qs},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        form->entities().TextEntities.assign(2, editor::Kelvo{});
        form->lineEditorFields().ATTmode = c.attributeMode;
        editor->setPlainText(u"a\nb\nc\n\n"_qs);
        caretTo(c.caretLine, 0);
        if (!c.selection.isEmpty()) {
            QTextCursor cursor = editor->textCursor();
            cursor.setPosition(static_cast<int>(c.selection.size()), QTextCursor::KeepAnchor);
            editor->setTextCursor(cursor);
        }

        form->lineEditorPage().refreshLineEditorStatus();

        EXPECT_EQ(editor->palette().color(QPalette::Base), c.background);
        EXPECT_EQ(form->statusPanelText(0), c.panel0);
        EXPECT_EQ(form->statusPanelText(1), c.panel1);
        EXPECT_EQ(ui->Label1->text(), c.label1);
    }
}

}  // namespace
