#include "textops/ui/TextToolsFixture.h"

#include <QPushButton>
#include <QWindow>

namespace {

using textops_ui_testing::TextToolsFixture;

using TextToolCommandsTest = TextToolsFixture;

struct EveryLineCase {
    const char* item;
    QStringList before;
    QStringList after;
};

TEST_F(TextToolCommandsTest, EveryLineItemsConvertEachLineAsOneUndoStep)
{
    const EveryLineCase cases[] = {
        {"N1", {"abc 1", QStringLiteral("ｶﾞｷﾞ")}, {QStringLiteral("ａｂｃ　１"), QStringLiteral("ガギ")}},
        {"N4", {QStringLiteral("ＡＢ　ガ"), "x"}, {QStringLiteral("AB ｶﾞ"), "x"}},
        {"N28", {"f(a)", "(", "none"}, {QStringLiteral("f（a）"), QStringLiteral("（"), "none"}},
        {"N23", {QStringLiteral("ｶﾞｷﾞﾊﾟｰ"), QStringLiteral("ﾞ")}, {QStringLiteral("ガギパー"), QStringLiteral("ﾞ")}},
        {"N24", {QStringLiteral("ガギパー")}, {QStringLiteral("ｶﾞｷﾞﾊﾟｰ")}},
        {"N091", {"a-1.5"}, {QStringLiteral("a-１.５")}},
        {"N092", {QStringLiteral("ａ１２")}, {QStringLiteral("ａ12")}},
        {"N094", {"a-1.5,+2"}, {QStringLiteral("a－１．５，＋２")}},
        {"N093", {QStringLiteral("－１．５，＋２")}, {"-1.5,+2"}},
        {"AZ1", {"aZ1"}, {QStringLiteral("ａＺ1")}},
        {"AZ2", {QStringLiteral("ａＺ１")}, {QStringLiteral("aZ１")}},
        {"N27", {"a \\\""}, {QStringLiteral("a　￥”")}},
        {"N26", {QStringLiteral("”’‘￥　＂")}, {QStringLiteral("\"'`\\ ＂")}},
    };
    for (const EveryLineCase& c : cases) {
        SCOPED_TRACE(c.item);
        setLines(c.before);
        trigger(c.item);
        EXPECT_EQ(lines(), c.after);
        EXPECT_FALSE(form().runFlag);
        EXPECT_FALSE(child<QPushButton>(form(), "SpeedButton5").isEnabled());
        expectOneUndo(c.before.join(u'\n'));
    }
}

TEST_F(TextToolCommandsTest, SelectionItemsJoinTheConvertedLinesAndTrimThem)
{
    struct Case {
        const char* item;
        QStringList before;
        int fromLine, fromColumn, toLine, toColumn;
        QStringList after;
    };
    const Case cases[] = {
        // A selection ending with a line break takes the next line up.
        {"N2", {"ab", "cd", "ef"}, 0, 0, 1, 0, {QStringLiteral("ａｂcd"), "ef"}},
        {"N2", {"xab", "cd"}, 0, 1, 1, 1, {QStringLiteral("xａｂ"), QStringLiteral("ｃd")}},
        // Leading and trailing spaces, ideographic ones included, are dropped.
        {"N5", {QStringLiteral("[　ＡＢ　]")}, 0, 1, 0, 5, {"[AB]"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        setLines(c.before);
        select(c.fromLine, c.fromColumn, c.toLine, c.toColumn);
        trigger(c.item);
        EXPECT_EQ(lines(), c.after);
        EXPECT_FALSE(form().runFlag);
        expectOneUndo(c.before.join(u'\n'));
    }
}

TEST_F(TextToolCommandsTest, SelectionItemsWithoutSelectionChangeNothing)
{
    for (const char* item : {"N2", "N5"}) {
        SCOPED_TRACE(item);
        setLines({"abc", QStringLiteral("ＡＢＣ")});
        trigger(item);
        expectUntouched({"abc", QStringLiteral("ＡＢＣ")});
    }
}

TEST_F(TextToolCommandsTest, StopLeavesTheLinesNotReachedAsTheyWere)
{
    setLines({"a", "b", "c"});
    bool stopEnabledWhileRunning = false;
    bool runFlagWhileRunning = false;
    // Pressing Stop lands in the first message processing after the first line.
    QTimer::singleShot(0, &form(), [&] {
        runFlagWhileRunning = form().runFlag;
        QPushButton& stop = child<QPushButton>(form(), "SpeedButton5");
        stopEnabledWhileRunning = stop.isEnabled();
        stop.click();
    });
    trigger("N1");
    EXPECT_TRUE(runFlagWhileRunning);
    EXPECT_TRUE(stopEnabledWhileRunning);
    EXPECT_EQ(lines(), QStringList({QStringLiteral("ａ"), "b", "c"}));
    EXPECT_FALSE(child<QPushButton>(form(), "SpeedButton5").isEnabled());
    expectOneUndo("a\nb\nc");
}

TEST_F(TextToolCommandsTest, ItemChosenWhileACommandRunsIsIgnored)
{
    // Run inside the first, the second would change the lines, clear runFlag (stopping the
    // first) and leave an undo step of its own.
    setLines({QStringLiteral("ａb"), "c"});
    QTimer::singleShot(0, &form(), [this] { trigger("N4"); });
    trigger("N1");
    EXPECT_EQ(lines(), QStringList({QStringLiteral("ａｂ"), QStringLiteral("ｃ")}));
    expectOneUndo(QStringLiteral("ａb\nc"));
    // Once the first has ended, the next runs.
    setLines({"(a)"});
    trigger("N28");
    EXPECT_EQ(lines(), QStringList({QStringLiteral("（a）")}));
}

TEST_F(TextToolCommandsTest, DialogsTakeOverTheTopmostPlaceWhileTheyRun)
{
    struct Case {
        const char* item;
        const char* dialog;
    };
    const Case cases[] = {
        {"N7", "TKelvoTikanForm"}, {"N14", "TKelvoKasanForm"}, {"N17", "TKelvoRenbanForm"},
        {"N35", "TKelvoTikanForm"}, {"N42", "TKelvoKasanForm"}, {"N31", "TKelvoRenbanForm"},
    };
    form().show();
    setLines({"a"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        auto& shown = child<QDialog>(form(), c.dialog);
        bool mainTopmostDuring = true;
        bool dialogTopmostDuring = false;
        trigger(c.item, &shown, [&, this] {
            mainTopmostDuring = form().windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
            dialogTopmostDuring = shown.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
            shown.reject();
        });
        EXPECT_FALSE(mainTopmostDuring);
        EXPECT_TRUE(dialogTopmostDuring);
        EXPECT_TRUE(form().windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_FALSE(shown.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    }
    EXPECT_EQ(lines(), QStringList({"a"}));
}

TEST_F(TextToolCommandsTest, EmptyEditorStaysEmpty)
{
    for (const char* item : {"N1", "N4", "N28", "N23", "N26"}) {
        SCOPED_TRACE(item);
        editor().clear();
        trigger(item);
        EXPECT_TRUE(editor().document()->isEmpty());
    }
}

}  // namespace
