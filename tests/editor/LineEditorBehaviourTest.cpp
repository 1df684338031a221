#include "EditorFixture.h"

#include "editor/LineEditorBehaviour.h"
#include "editor/NumberConversionError.h"
#include "editor/TextAcquisition.h"

namespace editor::test {
namespace {

TEST_F(EditorFixture, UndoMarkSavesAndRestoresTheWholeText)
{
    host.lines = {u"a", u"b"};
    UndoMark(context, true);
    EXPECT_TRUE(fields.undoFlag);
    EXPECT_TRUE(host.speedButton4);
    host.lines.clear();  // Clear
    UndoMark(context, false);
    EXPECT_EQ(host.lines, (std::vector<std::u16string>{u"a", u"b"}));
    EXPECT_FALSE(fields.undoFlag);
    EXPECT_FALSE(host.speedButton4);
}

TEST_F(EditorFixture, ClearThenUndoUsesTheEditorsHistoryFirstThenTheSavedTextOnce)
{
    host.lines = {u"a", u"b"};
    N20Click(context);
    EXPECT_TRUE(host.lines.empty());
    EXPECT_TRUE(host.speedButton4);

    host.editorCanUndo = true;  // a typed edit after the clear
    SpeedButton4Click(context);
    EXPECT_EQ(host.ownUndos, 1);
    EXPECT_TRUE(host.lines.empty());

    SpeedButton4Click(context);
    EXPECT_EQ(host.lines, (std::vector<std::u16string>{u"a", u"b"}));
    EXPECT_FALSE(host.speedButton4);
    EXPECT_FALSE(fields.undoFlag);
}

TEST_F(EditorFixture, StopClearsRunFlagLetsMessagesThroughAndDisablesItself)
{
    host.run = true;
    host.speedButton5 = true;
    SpeedButton5Click(context);
    EXPECT_FALSE(host.run);
    EXPECT_EQ(host.pumps, 1);
    EXPECT_EQ(host.speedButton5, false);
}

class CaretZoom : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        picker().nextPickReturns({addText(u"A", 10, 100), addText(u"B", 10, 90), addText(u"C", 10, 80)});
        SpeedButton1Click(context);
        host.checkBox9 = true;
        host.edit1 = u"10";
        host.edit2 = u"0";
        session->callLog().clear();
    }

    kelvocad::Point3 centre() { return session->view().center; }
    size_t zooms() { return session->callLog().count(u"ZoomCenter"); }
};

TEST_F(CaretZoom, PansOntoTheCaretLineOnceAndPastTheRecordsOntoThePitch)
{
    CaretYChanged(context, 2);
    EXPECT_EQ(centre().y, 90.0);
    EXPECT_EQ(zooms(), 2u);
    CaretYChanged(context, 2);
    EXPECT_EQ(zooms(), 2u) << "the same line does nothing";
    CaretYChanged(context, 6);
    EXPECT_EQ(centre().x, 40.0);
    EXPECT_EQ(centre().y, 80.0);
    EXPECT_EQ(fields.CaretY_Old, 6);
}

TEST_F(CaretZoom, NoZoomWhenOffInAttributeModePastTheRecordsOrWhileAnOperationRuns)
{
    struct Case {
        const char* title;
        bool checkBox9, attMode, operation;
        int line;
        int oldAfter;
    };
    const Case cases[] = {
        {"zoom off", false, false, false, 2, 2},
        {"attribute line past the records", true, true, false, 5, 5},
        {"operation running", true, false, true, 2, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        fields.CaretY_Old = 0;
        host.checkBox9 = c.checkBox9;
        fields.ATTmode = c.attMode;
        fields.cadOperationRunning = c.operation;
        CaretYChanged(context, c.line);
        EXPECT_EQ(zooms(), 0u);
        EXPECT_EQ(fields.CaretY_Old, c.oldAfter);
    }
}

TEST_F(CaretZoom, PitchThatIsNoNumberRaisesPastTheRecordsOnly)
{
    host.edit1 = u"1,5x";
    EXPECT_NO_THROW(CaretYChanged(context, 1));
    EXPECT_THROW(CaretYChanged(context, 4), NumberConversionError);
    EXPECT_EQ(fields.CaretY_Old, 1);
}

TEST_F(CaretZoom, CadErrorsAreIgnored)
{
    session->faults().failMember(kelvocad::FaultInjector::MemberFailure::of(u"ZoomCenter"));
    EXPECT_NO_THROW(CaretYChanged(context, 3));
    runningObjects.revoke(link.progId);
    EXPECT_NO_THROW(CaretYChanged(context, 2));
    EXPECT_EQ(fields.CaretY_Old, 2);
}

TEST_F(EditorFixture, StatusRefreshShowsCountsPositionAndBackground)
{
    struct Case {
        const char* title;
        bool attMode;
        size_t records;
        std::vector<std::u16string> lines;
        int caret;
        std::u16string label1, panel0;
        EditorBackground background;
    };
    const Case cases[] = {
        {"text mode on a record", false, 2, {u"a", u"b", u"", u" "}, 2, u"取得データ数 = 2", u"Row = 2 / 2 Col= 4",
         EditorBackground::Window},
        {"text mode past the records", false, 2, {u"a", u"b", u"c"}, 3, u"取得データ数 = 3", u"Row = 3 / 3 Col= 4",
         EditorBackground::PaleCyan},
        {"attribute mode counts records", true, 2, {u"a", u"b", u"c", u"d"}, 4, u"取得データ数 = 2",
         u"Row = 4 / 2 Col= 4", EditorBackground::Yellow},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        fields.ATTmode = c.attMode;
        arrays.TextEntities.assign(c.records, Kelvo{});
        host.lines = c.lines;
        host.caret = c.caret;
        host.column = 4;
        refreshLineEditorStatus(context);
        EXPECT_EQ(host.label1, c.label1);
        EXPECT_EQ(host.panels[0], c.panel0);
        EXPECT_EQ(host.panels[1], u"selRows = 0");
        EXPECT_EQ(host.background, c.background);
    }
    const int changes = host.backgroundChanges + host.panelChanges;
    refreshLineEditorStatus(context);
    EXPECT_EQ(host.backgroundChanges + host.panelChanges, changes) << "unchanged values are not set again";
}

TEST_F(EditorFixture, StatusRefreshEnablesUndoForEitherHistory)
{
    for (const auto& [own, saved] : {std::pair{false, false}, {true, false}, {false, true}}) {
        host.editorCanUndo = own;
        fields.undoFlag = saved;
        refreshLineEditorStatus(context);
        EXPECT_EQ(host.speedButton4, own || saved);
    }
}

TEST(LineEditorBehaviour, SelectedRowsCountLineFeeds)
{
    struct Case {
        std::u16string selection;
        int rows;
    };
    const Case cases[] = {{u"", 0}, {u"abc", 1}, {u"a\nb\n", 2}, {u"a\nb", 2}, {u"\n", 1}, {u"a\r\nb\r\nc", 3}};
    for (const auto& c : cases)
        EXPECT_EQ(selectedRowCount(c.selection), c.rows) << common::toUtf8(c.selection);
}

TEST(LineEditorBehaviour, PopupItemsFollowLinesAndSelection)
{
    EXPECT_FALSE(popupMenuEnabling(0, true).wholeText);
    EXPECT_TRUE(popupMenuEnabling(1, true).wholeText);
    EXPECT_FALSE(popupMenuEnabling(5, true).selection);
    EXPECT_TRUE(popupMenuEnabling(5, false).selection);
}

}  // namespace
}  // namespace editor::test
