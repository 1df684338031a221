#include "ui/LineEditorWidget.h"
#include "ui/UiFonts.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>

#include <vector>

namespace {

// The gutter grows with the number of digits and the text always starts after it.
TEST(LineEditorWidget, GutterMakesRoomForTheLineNumbers)
{
    ui::LineEditorWidget editor;
    editor.setFont(ui::gothicFixedFont(15));
    editor.resize(320, 154);
    editor.show();

    int previousWidth = 0;
    for (const int lines : {1, 99, 100, 1000}) {
        SCOPED_TRACE(lines);
        QStringList text;
        for (int i = 0; i < lines; ++i)
            text << QStringLiteral("line");
        editor.setPlainText(text.join(u'\n'));
        QApplication::processEvents();
        const int digits = static_cast<int>(QString::number(lines).size());
        EXPECT_GE(editor.gutterWidth(), editor.fontMetrics().horizontalAdvance(QString(digits, u'9')));
        EXPECT_GE(editor.gutterWidth(), previousWidth);
        EXPECT_GE(editor.viewport()->geometry().left(), editor.gutterWidth());
        previousWidth = editor.gutterWidth();
    }
    EXPECT_FALSE(editor.tabChangesFocus());
}

}  // namespace

namespace {

void press(QWidget& target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
{
    QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&target, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(&target, &up);
}

void caretTo(ui::LineEditorWidget& editor, int position)
{
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(position);
    editor.setTextCursor(cursor);
}

struct EndKeyCase {
    const char* title;
    QString line;
    int from;
    Qt::KeyboardModifiers modifiers;
    int to;
    QString selected;
};

// End stops after the last non-blank character first and goes to the real end from there.
TEST(LineEditorWidget, EndGoesToTheLastNonBlankCharacterFirst)
{
    const EndKeyCase cases[] = {
        {"from the start", u"  ab  "_qs, 0, Qt::NoModifier, 4, QString()},
        {"from there to the end", u"  ab  "_qs, 4, Qt::NoModifier, 6, QString()},
        {"from inside the trailing blanks", u"  ab  "_qs, 5, Qt::NoModifier, 4, QString()},
        {"a line without trailing blanks", u"ab"_qs, 0, Qt::NoModifier, 2, QString()},
        {"a blank line", u"   "_qs, 0, Qt::NoModifier, 3, QString()},
        {"Shift selects", u"  ab  "_qs, 1, Qt::ShiftModifier, 4, u" ab"_qs},
    };
    ui::LineEditorWidget editor;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        editor.loadText(c.line);
        caretTo(editor, c.from);
        press(editor, Qt::Key_End, c.modifiers);
        EXPECT_EQ(editor.textCursor().position(), c.to);
        EXPECT_EQ(editor.textCursor().selectedText(), c.selected);
    }
}

TEST(LineEditorWidget, TrailingSpacesOfAnEditedLineAreDroppedWhenTheCaretLeavesIt)
{
    ui::LineEditorWidget editor;
    editor.loadText(u"abc\ndef  "_qs);
    EXPECT_EQ(editor.lineText(1), u"def  "_qs) << "a line as loaded keeps its spaces";

    caretTo(editor, 3);
    for (const QString& typed : {u"x"_qs, u" "_qs, u" "_qs})
        press(editor, 0, Qt::NoModifier, typed);
    EXPECT_EQ(editor.document()->firstBlock().text(), u"abcx  "_qs) << "the caret is still on the line";
    EXPECT_EQ(editor.lineText(0), u"abcx"_qs) << "but the line as read has no trailing spaces";

    press(editor, Qt::Key_Down);
    EXPECT_EQ(editor.document()->firstBlock().text(), u"abcx"_qs);
    EXPECT_EQ(editor.lineText(1), u"def  "_qs) << "only edited lines lose their spaces";

    editor.undo();
    EXPECT_EQ(editor.toPlainText(), u"abcx  \ndef  "_qs) << "undo brings the spaces back first";
    EXPECT_EQ(editor.lineText(0), u"abcx"_qs);
    editor.undo();
    EXPECT_EQ(editor.toPlainText(), u"abc\ndef  "_qs);
}

TEST(LineEditorWidget, LoadingReplacesTheTextAndStartsAFreshHistory)
{
    ui::LineEditorWidget editor;
    editor.loadText(u"one"_qs);
    press(editor, 0, Qt::NoModifier, u"x"_qs);
    ASSERT_TRUE(editor.document()->isUndoAvailable());

    editor.loadText(u"a\r\nb"_qs.replace(u"\r\n"_qs, u"\n"_qs));
    EXPECT_FALSE(editor.document()->isUndoAvailable());
    EXPECT_EQ(editor.textCursor().position(), 0);
    EXPECT_EQ(editor.lineCount(), 2);
    editor.loadText(QString());
    EXPECT_EQ(editor.lineCount(), 0) << "an empty editor has no line";
    EXPECT_EQ(editor.lineText(0), QString());
}

// Without the program's handler, Ctrl+C and Ctrl+X do nothing: they are not the editor's own.
TEST(LineEditorWidget, CopyAndCutKeysAreNotTheEditorsOwn)
{
    ui::LineEditorWidget editor;
    for (const int key : {Qt::Key_C, Qt::Key_X}) {
        SCOPED_TRACE(key);
        editor.loadText(u"abc"_qs);
        editor.selectAll();
        QApplication::clipboard()->setText(u"before"_qs);
        press(editor, key, Qt::ControlModifier);
        EXPECT_EQ(editor.toPlainText(), u"abc"_qs);
        EXPECT_EQ(QApplication::clipboard()->text(), u"before"_qs);
    }

    std::vector<char16_t> seen;
    editor.setControlCharacterHandler([&seen](char16_t key) {
        seen.push_back(key);
        return key == 10;
    });
    editor.loadText(u"abc"_qs);
    caretTo(editor, 3);
    press(editor, Qt::Key_Return, Qt::ControlModifier);
    press(editor, Qt::Key_J, Qt::ControlModifier);
    press(editor, Qt::Key_C, Qt::ControlModifier);
    press(editor, Qt::Key_X, Qt::ControlModifier);
    press(editor, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(seen, (std::vector<char16_t>{10, 10, 3, 24})) << "other Ctrl keys are the editor's";
    EXPECT_EQ(editor.lineCount(), 1) << "a swallowed Ctrl+Enter types no line break";
    EXPECT_TRUE(editor.textCursor().hasSelection()) << "Ctrl+A still selects all";
}

}  // namespace
