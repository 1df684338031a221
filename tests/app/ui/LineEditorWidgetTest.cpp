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

// Reading every line at once must give what reading each line gives, for any character a
// drawing's text may hold and for lines the user edited.
TEST(LineEditorWidget, AllLinesReadAsEachLineReads)
{
    const QString cases[] = {
        QString(),
        u"a"_qs,
        u"a\n\nb\n"_qs,
        u"x\u00a0y\n\tz  \n\u3000"_qs,  // no-break and ideographic spaces, a tab
        u"a\u2028b\nc\u2029d"_qs,      // separators that are not line breaks of the file
    };
    ui::LineEditorWidget editor;
    for (const QString& text : cases) {
        SCOPED_TRACE(text.toStdString());
        editor.loadText(text);
        QStringList each;
        for (int i = 0; i < editor.lineCount(); ++i)
            each << editor.lineText(i);
        EXPECT_EQ(editor.lines(), each);
    }

    editor.loadText(u"abc\ndef  "_qs);
    caretTo(editor, 3);
    press(editor, 0, Qt::NoModifier, u" "_qs);
    EXPECT_EQ(editor.lines(), (QStringList{u"abc"_qs, u"def  "_qs})) << "an edited line is read without its spaces";
    editor.loadLines({QString()});
    EXPECT_EQ(editor.lines(), QStringList{QString()});
}

QString numberedLines(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << u"line\u00a0%1  "_qs.arg(i);
    return lines.join(u'\n');
}

// A long load goes in slices with the pause between them, and ends as a load in one piece:
// every line, no history to undo into, the caret at the start, edits marked again.
TEST(LineEditorWidget, ALongLoadPausesBetweenSlicesAndEndsAsOneLoad)
{
    ui::LineEditorWidget editor;
    editor.loadText(u"before"_qs);
    press(editor, 0, Qt::NoModifier, u"x"_qs);
    int pauses = 0;
    int linesSeenInAPause = 0;
    editor.setLoadPause(
        [&] {
            ++pauses;
            linesSeenInAPause = editor.lineCount();
        },
        0);
    const QString text = numberedLines(20'000);
    editor.loadText(text);

    EXPECT_GT(pauses, 1);
    EXPECT_GT(linesSeenInAPause, 0);
    EXPECT_LT(linesSeenInAPause, 20'000) << "the pause came before the last slice";
    EXPECT_EQ(editor.lines(), text.split(u'\n'));
    EXPECT_FALSE(editor.document()->isUndoAvailable());
    EXPECT_EQ(editor.textCursor().position(), 0);

    caretTo(editor, editor.document()->lastBlock().position());
    press(editor, 0, Qt::NoModifier, u"y"_qs);
    press(editor, Qt::Key_Up);
    EXPECT_EQ(editor.lineText(19'999), u"yline\u00a019999"_qs) << "the edited line loses its trailing spaces";
    editor.undo();  // the spaces
    editor.undo();  // the typed character
    EXPECT_EQ(editor.document()->lastBlock().text(), u"line\u00a019999  "_qs);
    EXPECT_EQ(editor.lineCount(), 20'000);
    EXPECT_FALSE(editor.document()->isUndoAvailable());
}

// A load started from within the pause (a message handled there) wins; the first one stops.
TEST(LineEditorWidget, ALoadMadeInThePauseReplacesTheOneThatPaused)
{
    ui::LineEditorWidget editor;
    bool loadedInPause = false;
    editor.setLoadPause(
        [&] {
            if (!loadedInPause) {
                loadedInPause = true;
                editor.loadLines({QString()});
            }
        },
        0);
    editor.loadText(numberedLines(20'000));
    ASSERT_TRUE(loadedInPause);
    EXPECT_EQ(editor.lineCount(), 1);
    EXPECT_EQ(editor.lines(), QStringList{QString()});

    press(editor, 0, Qt::NoModifier, u"z"_qs);
    EXPECT_EQ(editor.lines(), QStringList{u"z"_qs});
    EXPECT_TRUE(editor.document()->isUndoAvailable()) << "the editor's history works again";
}

}  // namespace
