#include "SearchFixture.h"

#include "automation/AutomationError.h"
#include "kelvocad/model/SampleDrawing.h"
#include "kelvocad/objects/FaultInjector.h"
#include "search/TextSearch.h"

#include <gmock/gmock.h>

namespace search::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using kelvocad::FaultInjector;

const std::u16string kAtRest = u"検索 (部分一致)";

TEST(SearchPatternTest, EmptyTextPrefixAndPartial)
{
    struct Case {
        std::u16string text;
        MatchPosition position;
        std::u16string pattern;
    };
    const Case cases[] = {
        {u"", MatchPosition::Partial, u"*"},
        {u"", MatchPosition::Prefix, u"*"},
        {u"AB", MatchPosition::Partial, u"*AB*"},
        {u"AB", MatchPosition::Prefix, u"AB*"},
        {u"W-?#", MatchPosition::Prefix, u"W-?#*"},  // the user's wildcards pass on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.text));
        EXPECT_EQ(searchPattern(c.text, c.position), c.pattern);
    }
}

TEST(SortHitsByTextTest, CodeUnitOrderStableAndLabelEmptied)
{
    std::vector<editor::Kelvo2> hits;
    int index = 0;
    // U+FF21 (full-width A) sorts after every ASCII letter; "ab" after its prefix "a".
    for (const char16_t* text : {u"b", u"ab", u"B", u"Ａ", u"a", u"b", u"", u"a"})
        hits.push_back(editor::Kelvo2{u"H", text, {}, u"0", index++, false});
    std::vector<std::u16string> labels;
    SortHitsByText(hits, [&labels](const std::u16string& text) { labels.push_back(text); });

    std::vector<std::pair<std::u16string, int>> order;
    for (const auto& hit : hits)
        order.emplace_back(hit.text, hit.index);
    EXPECT_THAT(order, ElementsAre(std::pair<std::u16string, int>{u"", 6}, std::pair<std::u16string, int>{u"B", 2},
                                   std::pair<std::u16string, int>{u"a", 4}, std::pair<std::u16string, int>{u"a", 7},
                                   std::pair<std::u16string, int>{u"ab", 1}, std::pair<std::u16string, int>{u"b", 0},
                                   std::pair<std::u16string, int>{u"b", 5}, std::pair<std::u16string, int>{u"Ａ", 3}));
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.back(), u"");
}

TEST(SortHitsByTextTest, EqualTextsKeepTheirOrderInLargeLists)
{
    std::vector<editor::Kelvo2> hits;
    for (int i = 0; i < 1000; ++i)
        hits.push_back(editor::Kelvo2{u"H", (i * 7) % 3 ? u"b" : u"a", {}, u"0", i, false});
    SortHitsByText(hits, [](const std::u16string&) {});
    for (size_t i = 1; i < hits.size(); ++i) {
        ASSERT_LE(hits[i - 1].text, hits[i].text) << i;
        if (hits[i - 1].text == hits[i].text) {
            ASSERT_LT(hits[i - 1].index, hits[i].index) << i;
        }
    }
}

TEST(SortHitsByTextTest, NoHitsStillEmptiesLabel)
{
    std::vector<editor::Kelvo2> hits;
    std::vector<std::u16string> labels;
    SortHitsByText(hits, [&labels](const std::u16string& text) { labels.push_back(text); });
    EXPECT_THAT(labels, ElementsAre(u""));
}

class TextSearchTest : public SearchFixture {};

TEST_F(TextSearchTest, PatternsAndOptionsChooseTheHits)
{
    for (const char16_t* text : {u"W-10", u"XW-2", u"W-1", u"w-3", u"V"})
        addText(text);
    struct Case {
        std::u16string edit3;
        bool prefix;
        std::u16string label7;
        std::vector<std::u16string> listed;
    };
    const Case cases[] = {
        {u"", false, u"[*] (部分一致)", {u"V", u"W-1", u"W-10", u"XW-2", u"w-3"}},
        {u"", true, u"[*] (部分一致)", {u"V", u"W-1", u"W-10", u"XW-2", u"w-3"}},
        {u"W-", false, u"[*W-*] (部分一致)", {u"W-1", u"W-10", u"XW-2"}},
        {u"W-", true, u"[W-*] (部分一致)", {u"W-1", u"W-10"}},
        {u"W-?", true, u"[W-?*] (部分一致)", {u"W-1", u"W-10"}},
        {u"W-#0", false, u"[*W-#0*] (部分一致)", {u"W-10"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.edit3) + (c.prefix ? " prefix" : " partial"));
        searchFor(c.edit3, c.prefix);
        EXPECT_EQ(host.label7, c.label7);
        EXPECT_EQ(grid.texts(), c.listed);
        std::vector<int> tags;
        for (size_t i = 0; i < c.listed.size(); ++i)
            tags.push_back(static_cast<int>(i) + 1);
        EXPECT_EQ(grid.tags(), tags);
        ASSERT_EQ(SearchHits.size(), c.listed.size());
        for (size_t i = 0; i < SearchHits.size(); ++i)
            EXPECT_EQ(SearchHits[i].text, c.listed[i]);
        EXPECT_EQ(host.caption, u"検索");
        EXPECT_TRUE(host.edit3Enabled);
    }
}

TEST_F(TextSearchTest, HitRecordsCarryHandleIndexPointAndLayer)
{
    const auto hB = addText(u"b", 1.0, 2.0, u"E");
    const auto hUpper = addText(u"B", 3.0, 4.0, u"F");
    const auto hA = addText(u"a", 5.5, 6.25, u"E");
    searchFor(u"");

    EXPECT_THAT(grid.texts(), ElementsAre(u"B", u"a", u"b"));
    ASSERT_EQ(SearchHits.size(), 3u);
    const std::u16string handles[] = {hUpper, hA, hB};
    const int indices[] = {1, 2, 0};
    const std::u16string layers[] = {u"F", u"E", u"E"};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(SearchHits[i].sHnd, handles[i]);
        EXPECT_EQ(SearchHits[i].index, indices[i]);
        EXPECT_EQ(SearchHits[i].lay, layers[i]);
        EXPECT_FALSE(SearchHits[i].locked);
    }
    EXPECT_DOUBLE_EQ(SearchHits[1].insPt.doubleAt(0), 5.5);
    EXPECT_DOUBLE_EQ(SearchHits[1].insPt.doubleAt(1), 6.25);

    // Row 0 is current and shown: its handle and point, and the view panned onto it.
    EXPECT_EQ(grid.row, 0);
    EXPECT_EQ(host.panels[0], hUpper);
    EXPECT_EQ(host.panels[1], u"3.000, 4.000");
    EXPECT_EQ(host.label6, u"1 / 3");
    EXPECT_DOUBLE_EQ(session->view().center.x, 3.0);
    EXPECT_DOUBLE_EQ(session->view().center.y, 4.0);
    EXPECT_TRUE(host.run) << "a completed search leaves runFlag set";
}

TEST_F(TextSearchTest, NoHitListsOneEmptyRowAndEndsWithEmptyLabels)
{
    addText(u"ABC");
    host.panels[1] = u"1.000, 2.000";
    searchFor(u"XYZ");

    EXPECT_THAT(grid.texts(), ElementsAre(u""));
    EXPECT_THAT(grid.tags(), ElementsAre(0));
    EXPECT_TRUE(SearchHits.empty());
    ASSERT_FALSE(host.label6History.empty());
    EXPECT_EQ(host.label6History.front(), u"TEXT = 0");
    EXPECT_EQ(host.label6, u"");
    EXPECT_EQ(host.panels[0], u"");
    EXPECT_EQ(host.panels[1], u"");
    EXPECT_EQ(host.label7, u"[*XYZ*] (部分一致)");
}

TEST_F(TextSearchTest, ProgressEveryHundredthOfTheHits)
{
    for (int i = 0; i < 250; ++i)
        addText(u"T" + common::fromAscii(std::to_string(1000 + i)));
    searchFor(u"T");

    std::vector<std::u16string> expected{u"TEXT = 250"};
    for (int i = 1; i <= 250; i += 2)
        expected.push_back(common::fromAscii(std::to_string(i)) + u" / 250");
    ASSERT_GE(host.label6History.size(), expected.size());
    EXPECT_EQ(std::vector<std::u16string>(host.label6History.begin(), host.label6History.begin() + expected.size()),
              expected);
    EXPECT_EQ(grid.RowCount(), 250);
    EXPECT_EQ(grid.cells.back().text, u"T1249");
    EXPECT_EQ(host.label6, u"1 / 250");
    EXPECT_GE(host.pumps, 250) << "the window must stay live at every entity";
}

TEST_F(TextSearchTest, LockedLayersFlagTheirHitsOnly)
{
    addText(u"P1", 0, 0, u"PUMP");
    addText(u"P2", 0, 0, u"PUMP ROOM");
    addText(u"P3", 0, 0, u"0");
    drawing().setLayerLocked(u"PUMP ROOM", true);
    searchFor(u"P");

    ASSERT_EQ(SearchHits.size(), 3u);
    EXPECT_FALSE(SearchHits[0].locked) << "PUMP is only the first word of the locked layer's name";
    EXPECT_TRUE(SearchHits[1].locked);
    EXPECT_FALSE(SearchHits[2].locked);

    drawing().setLayerLocked(u"PUMP ROOM", false);
    searchFor(u"P");
    for (const auto& hit : SearchHits)
        EXPECT_FALSE(hit.locked);
}

TEST_F(TextSearchTest, StopInTheLoopEmptiesTheListAndKeepsTheProgress)
{
    for (int i = 0; i < 10; ++i)
        addText(u"S" + common::fromAscii(std::to_string(i)));
    host.onPump = [this](int pump) {
        if (pump == 4) {
            EXPECT_EQ(host.caption, u"中止");
            EXPECT_FALSE(host.edit3Enabled);
            SpeedButton14Click(context);  // the Stop click, landing inside the loop
        }
    };
    searchFor(u"S");

    EXPECT_TRUE(SearchHits.empty());
    EXPECT_THAT(grid.texts(), ElementsAre(u""));
    EXPECT_THAT(grid.tags(), ElementsAre(0));
    EXPECT_EQ(host.label6, u"4 / 10");
    EXPECT_EQ(host.label7, kAtRest);
    EXPECT_EQ(host.caption, u"検索");
    EXPECT_TRUE(host.edit3Enabled);
    EXPECT_FALSE(host.run);
    EXPECT_EQ(session->callCount(u"TextString"), 3u) << "the loop ends at the entity after the Stop";
    for (const auto& set : session->selectionSets())
        EXPECT_TRUE(set->deleted);
}

TEST_F(TextSearchTest, ClickAfterStopWhileTheStoppedSearchUnwindsStartsNothing)
{
    for (int i = 0; i < 10; ++i)
        addText(u"S" + common::fromAscii(std::to_string(i)));
    host.onPump = [this](int pump) {
        if (pump == 2) {
            SpeedButton14Click(context);  // Stop
            SpeedButton14Click(context);  // "検索" again before the outer loop has noticed
        }
    };
    searchFor(u"S");

    EXPECT_EQ(session->callCount(u"Select"), 1u);
    EXPECT_TRUE(SearchHits.empty());
    EXPECT_THAT(grid.texts(), ElementsAre(u""));
    EXPECT_EQ(host.caption, u"検索");
    EXPECT_TRUE(host.edit3Enabled);

    // The next click, once the stopped search has ended, searches as usual.
    host.onPump = nullptr;
    searchFor(u"S");
    EXPECT_EQ(SearchHits.size(), 10u);
}

TEST_F(TextSearchTest, ListedRowsKeepNamingTheirHitsWhileASearchRuns)
{
    const auto first = addText(u"FIRST");
    searchFor(u"FIRST");
    for (int i = 0; i < 5; ++i)
        addText(u"N" + common::fromAscii(std::to_string(i)));
    int checks = 0;
    host.onPump = [&](int) {
        // An Enter or "更新" landing here finds each row's hit where the row says.
        ASSERT_EQ(SearchHits.size(), 1u);
        EXPECT_EQ(SearchHits[0].sHnd, first);
        EXPECT_THAT(grid.tags(), ElementsAre(1));
        ++checks;
    };
    searchFor(u"N");
    EXPECT_GE(checks, 5);
    EXPECT_EQ(SearchHits.size(), 5u);
}

// While a long list goes into the grid the rows not reached yet still name the previous
// search's hits: the window repaints between slices, but no click or key gets through.
TEST_F(TextSearchTest, AlongListRepaintsBetweenSlicesWithoutLettingInputThrough)
{
    constexpr int count = 9'000;
    for (int i = 0; i < count; ++i)
        addText(u"L" + common::fromAscii(std::to_string(i)));
    std::vector<int> fullPumpsAtEachSlice;
    host.onInputHeldPump = [&] { fullPumpsAtEachSlice.push_back(host.pumps); };
    searchFor(u"L");
    ASSERT_EQ(grid.RowCount(), count);
    EXPECT_GE(fullPumpsAtEachSlice.size(), 2u);
    for (const int pumps : fullPumpsAtEachSlice)
        EXPECT_EQ(pumps, fullPumpsAtEachSlice.front()) << "a full pump came between two slices";
}

TEST_F(TextSearchTest, ErrorsWhileReadingListWhatWasRead)
{
    addText(u"R1");
    const auto bad = addText(u"R2");
    addText(u"R3");
    session->faults().failMember(FaultInjector::MemberFailure::of(u"Handle").onObject(bad));
    searchFor(u"R");

    // R2's text was read before its handle failed; R3 was never read and stays empty.
    EXPECT_THAT(grid.texts(), ElementsAre(u"", u"R1", u"R2"));
    EXPECT_THAT(grid.tags(), ElementsAre(1, 2, 3));
    EXPECT_EQ(host.caption, u"検索");
    for (const auto& set : session->selectionSets())
        EXPECT_TRUE(set->deleted);
}

TEST_F(TextSearchTest, FailedSelectListsNothing)
{
    addText(u"A");
    session->faults().failMember(FaultInjector::MemberFailure::of(u"Select"));
    searchFor(u"");

    ASSERT_FALSE(host.label6History.empty());
    EXPECT_EQ(host.label6History.front(), u"TEXT = 0");
    EXPECT_THAT(grid.texts(), ElementsAre(u""));
    EXPECT_TRUE(SearchHits.empty());
}

TEST_F(TextSearchTest, CadNotRunningRelistsThePreviousHitsWhileRunFlagIsSet)
{
    addText(u"b");
    addText(u"a", 0, 0, u"L");
    drawing().setLayerLocked(u"L", true);
    searchFor(u"");
    ASSERT_THAT(grid.texts(), ElementsAre(u"a", u"b"));
    grid.cells[0].text = u"edited";
    FUndoCells2.Add(grid, 0, 0);

    endCad();
    windows.log.clear();
    searchFor(u"zzz");
    EXPECT_THAT(grid.texts(), ElementsAre(u"a", u"b")) << "edits since the search are discarded";
    ASSERT_EQ(SearchHits.size(), 2u);
    EXPECT_TRUE(SearchHits[0].locked) << "old lock flags stay";
    EXPECT_EQ(FUndoCells2.Count(), 0);
    EXPECT_THAT(windows.log, ElementsAre("setForeground 7", "toTop 7")) << "the main window is brought forward";

    host.run = false;  // cleared by some Stop button since
    searchFor(u"");
    EXPECT_THAT(grid.texts(), ElementsAre(u""));
    EXPECT_TRUE(SearchHits.empty());
}

TEST_F(TextSearchTest, UnregisteredProgIdReportsTheErrorAndReturnsToRest)
{
    addText(u"A");
    runningObjects.unregisterProgId(link.progId);
    host.edit3 = u"A";
    EXPECT_THROW(SpeedButton14Click(context), automation::AutomationError);
    EXPECT_EQ(host.caption, u"検索");
    EXPECT_TRUE(host.edit3Enabled);

    // The next click is a search again, not a Stop.
    runningObjects.announce(link.progId, session->application());
    SpeedButton14Click(context);
    EXPECT_THAT(grid.texts(), ElementsAre(u"A"));
}

TEST_F(TextSearchTest, WindowStepsAroundTheSearch)
{
    addText(u"A");
    searchFor(u"A");
    EXPECT_THAT(windows.log, ElementsAre("setForeground 99", "escape", "sleep 5",  // before
                                         "setForeground 99", "escape", "sleep 5",  // after, once more
                                         "setForeground 7", "attach 1 2 on", "toTop 7", "attach 1 2 off"));
}

TEST_F(TextSearchTest, OptionChangeRepeatsTheSearchOnlyOnTheActivePageWithText)
{
    addText(u"A");
    struct Case {
        bool pageActive;
        std::u16string edit3;
        bool searched;
    };
    const Case cases[] = {{true, u"A", true}, {true, u"", false}, {false, u"A", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pageActive ? "active " : "inactive ") + utf8(c.edit3));
        const auto before = session->callCount(u"Select");
        host.edit3 = c.edit3;
        repeatSearchForOption(context, c.pageActive);
        EXPECT_EQ(session->callCount(u"Select") - before, c.searched ? 1u : 0u);
    }
}

TEST_F(TextSearchTest, WireNumbersOfTheSampleDrawingInTextOrder)
{
    session->replaceDrawing(kelvocad::makeSampleDrawing());
    searchFor(u"W-", true);
    EXPECT_THAT(grid.texts(), ElementsAre(u"W-01", u"W-02", u"W-03", u"W-04", u"W-05", u"W-06", u"W-07", u"W-08",
                                          u"W-09", u"W-10"));

    // The locked title layer's texts are listed and flagged.
    searchFor(u"");
    int locked = 0;
    for (const auto& hit : SearchHits)
        locked += hit.locked;
    EXPECT_GT(locked, 0);
    for (const auto& hit : SearchHits)
        EXPECT_EQ(hit.locked, drawing().isLayerLocked(hit.lay)) << utf8(hit.text);
}

}  // namespace
}  // namespace search::test
