#include "GridFixture.h"

#include "grid/AttributeGridAcquisition.h"
#include "grid/GridUpdate.h"
#include "grid/MatchesAnyMask.h"

#include <algorithm>

namespace grid::test {
namespace {

using kelvocad::FaultInjector;
using Attributes = std::vector<std::pair<std::u16string, std::u16string>>;

class GridAcquisition : public GridFixture {
protected:
    void acquire(const std::u16string& group, std::vector<std::u16string> handles)
    {
        host.comboBox2 = group;
        picker().nextPickReturns(std::move(handles));
        SpeedButton10Click(context);
    }

    // What the grid held before: an earlier acquisition's rows and an undo record.
    void earlierAcquisition()
    {
        grid.setCellText(1, 0, u"old header");
        grid.setCellText(1, 1, u"old");
        grid.setCellObject(1, 1, 1);
        arrays.GridBlocks.resize(1);
        arrays.GridAttributes.resize(1);
        FUndoCells.Add(grid, 1, 1);
        sgUndoCnt = 1;
    }

    size_t calls(std::u16string_view member, std::u16string_view kind = {})
    {
        return session->callLog().count(member, kind);
    }

    // The block mask the pick was filtered with.
    std::u16string pickedMask()
    {
        for (const auto& record : session->callLog().records())
            if (record.member == u"SelectOnScreen")
                return record.args.at(1).elements().at(1).toString();
        return u"(no pick)";
    }
};

TEST_F(GridAcquisition, OneRowPerReferenceWithAGroupTagAndOneColumnPerTag)
{
    addBlock(u"DEV", {{u"NAME", u"機器名"}, {u"SPEC", u"仕様"}, {u"TYPE", u"型式"}});
    addBlock(u"WIRE", {{u"SENBAN", u"線番"}});
    const auto upper = addReference(u"DEV", 0, 100, {{u"NAME", u"MC1"}, {u"SPEC", u"9A"}, {u"TYPE", u"SC"}});
    const auto lower = addReference(u"DEV", 0, 50, {{u"TYPE", u"AR"}, {u"NAME", u"PB1"}});
    const auto wire = addReference(u"WIRE", 0, 75, {{u"SENBAN", u"W1"}});
    earlierAcquisition();
    sgUndoCnt = 5;

    acquire(u"機器,NAME,SPEC,TYPE", {lower, wire, upper});

    EXPECT_EQ(gridRows(), (std::vector<std::u16string>{u"|機器名|仕様|型式", u"1|MC1|9A|SC", u"2|PB1|#|AR"}));
    // Spread 0 wide and 50 high: top to bottom.
    ASSERT_EQ(arrays.GridBlocks.size(), 2u);
    EXPECT_EQ(arrays.GridBlocks[0].sHnd, upper);
    EXPECT_EQ(arrays.GridBlocks[1].sHnd, lower);
    EXPECT_EQ(arrays.GridBlocks[1].blkName, u"DEV");
    EXPECT_EQ(arrays.GridBlocks[1].lay, u"DEV");
    EXPECT_EQ(arrays.GridBlocks[1].insPt.doubleAt(1), 50.0);

    // Records in filling order: the lower block's attributes in its own order.
    ASSERT_EQ(arrays.GridAttributes.size(), 5u);
    EXPECT_EQ(grid.cellObject(3, 2), 4);
    EXPECT_EQ(grid.cellObject(1, 2), 5);
    const editor::nAtt& name = arrays.GridAttributes[4];
    EXPECT_EQ(name.sHnd, attributeHandle(lower, 1));
    EXPECT_EQ(name.text, u"PB1");
    EXPECT_EQ(name.lay, u"ATT");
    EXPECT_EQ(name.insPt.doubleAt(0), 1.0);
    EXPECT_EQ(name.insPt.doubleAt(1), 51.0);

    EXPECT_EQ(host.label5History, (std::vector<std::u16string>{u"INSERT = 3", u"INSERT = 1 / 3", u"INSERT = 2 / 3",
                                                                 u"INSERT = 3 / 3", u"ATTR = 1 / 3", u"ATTR = 2 / 3"}));
    EXPECT_EQ(host.progressSteps, 5);
    EXPECT_EQ(host.progressMax, 2);
    EXPECT_EQ(host.progressPosition, 0);
    EXPECT_EQ(host.label1, u"");
    EXPECT_EQ(host.label2, u"");
    EXPECT_EQ(host.panels[0], u"");
    EXPECT_EQ(host.panels[1], u"");
    EXPECT_TRUE(fields.ATTmode);
    EXPECT_FALSE(host.run);
    EXPECT_EQ(host.speedButton12, false);
    EXPECT_EQ(host.speedButton11, true);
    EXPECT_EQ(FUndoCells.Count(), 0);
    EXPECT_EQ(sgUndoCnt, 0);
    EXPECT_EQ(grid.widths, (std::vector<int>{17, 31, 24, 24}));
    EXPECT_EQ(grid.updateBrackets, 1);
    EXPECT_EQ(grid.updateDepth, 0);
    EXPECT_EQ(pickedMask(), u"*");
    EXPECT_EQ(calls(u"Delete", u"SelectionSet"), 1u);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(windows.log.front(), "own minimize");
    EXPECT_NE(std::find(windows.log.begin(), windows.log.end(), "setForeground 7"), windows.log.end());
}

struct FillCase {
    const char* name;
    std::vector<std::pair<std::u16string, Attributes>> blocks;  // definitions: tag, prompt
    std::vector<std::pair<std::u16string, Attributes>> references;  // top to bottom
    std::u16string group;
    std::u16string mask;
    std::vector<std::u16string> rows;
    size_t records;
};

void PrintTo(const FillCase& c, std::ostream* os)
{
    *os << c.name;
}

class GridFill : public GridAcquisition, public ::testing::WithParamInterface<FillCase> {};

TEST_P(GridFill, CellsAndHeaders)
{
    const FillCase& c = GetParam();
    for (const auto& [name, definitions] : c.blocks)
        addBlock(name, definitions);
    std::vector<std::u16string> handles;
    double y = 100;
    for (const auto& [block, attributes] : c.references) {
        handles.push_back(addReference(block, 0, y, attributes));
        y -= 10;
    }
    acquire(c.group, handles);
    EXPECT_EQ(pickedMask(), c.mask);
    EXPECT_EQ(gridRows(), c.rows);
    EXPECT_EQ(arrays.GridAttributes.size(), c.records);
    EXPECT_EQ(host.speedButton11, true);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GridFill,
    ::testing::Values(
        FillCase{"headers from the first named definition for every row",
                 {{u"A", {{u"NAME", u"名A"}}}, {u"B", {{u"NAME", u"名B"}, {u"SPEC", u"仕様B"}}}},
                 {{u"B", {{u"NAME", u"b"}, {u"SPEC", u"s"}}}, {u"A", {{u"NAME", u"a"}}}},
                 u"g,NAME,SPEC",
                 u"*",
                 {u"|名A|", u"1|b|s", u"2|a|#"},
                 3},
        FillCase{"block mask from the caption filters the pick and chooses the definition",
                 {{u"MOTOR", {{u"NAME", u"モータ名"}}}, {u"PUMP1", {{u"NAME", u"ポンプ名"}, {u"SPEC", u"ポンプ仕様"}}}},
                 {{u"MOTOR", {{u"NAME", u"M1"}}}, {u"PUMP1", {{u"NAME", u"P1"}, {u"SPEC", u"S1"}}}},
                 u"機器[PUMP*],NAME,SPEC",
                 u"PUMP*",
                 {u"|ポンプ名|ポンプ仕様", u"1|P1|S1"},
                 2},
        FillCase{"empty brackets leave the mask at every block",
                 {{u"A", {{u"NAME", u"名A"}}}},
                 {{u"A", {{u"NAME", u"a"}}}},
                 u"機器[],NAME",
                 u"*",
                 {u"|名A", u"1|a"},
                 1},
        FillCase{"a closing bracket before the opening one is no mask",
                 {{u"A", {{u"NAME", u"名A"}}}},
                 {{u"A", {{u"NAME", u"a"}}}},
                 u"機器]x[,NAME",
                 u"*",
                 {u"|名A", u"1|a"},
                 1},
        FillCase{"first named definition defines none of the tags: headers stay empty",
                 {{u"TITLE", {{u"DWG", u"図番"}}}, {u"A", {{u"NAME", u"名A"}}}},
                 {{u"A", {{u"NAME", u"a"}}}},
                 u"g,NAME",
                 u"*",
                 {u"|", u"1|a"},
                 1},
        FillCase{"first named definition without attributes: each header from the first row that gives one",
                 {{u"FRAME", {}}, {u"A", {{u"NAME", u""}}}, {u"B", {{u"NAME", u"名B"}, {u"SPEC", u"仕様B"}}}},
                 {{u"A", {{u"NAME", u"a"}}}, {u"B", {{u"NAME", u"b"}, {u"SPEC", u"s"}}}},
                 u"g,NAME,SPEC",
                 u"*",
                 {u"|名B|仕様B", u"1|a|#", u"2|b|s"},
                 3},
        FillCase{"a tag listed twice fills its first column only",
                 {{u"A", {{u"NAME", u"名"}}}},
                 {{u"A", {{u"NAME", u"a"}}}},
                 u"g,NAME,NAME",
                 u"*",
                 {u"|名|", u"1|a|#"},
                 1},
        FillCase{"two attributes with one tag: the later one shows, both are recorded",
                 {{u"A", {{u"NAME", u"名"}}}},
                 {{u"A", {{u"NAME", u"first"}, {u"NAME", u"second"}}}},
                 u"g,NAME",
                 u"*",
                 {u"|名", u"1|second"},
                 2},
        FillCase{"tags compare exactly; spaces belong to the field",
                 {{u"A", {{u"NAME", u"名"}, {u"Spec", u"仕"}}}},
                 {{u"A", {{u"NAME", u"a"}, {u"Spec", u"s"}}}},
                 u"g, NAME,SPEC,Spec",
                 u"*",
                 {u"|||仕", u"1|#|#|s"},
                 1}),
    [](const auto& info) { return std::to_string(info.index); });

TEST_F(GridAcquisition, ReferencesWithoutAGroupTagLeaveOneEmptyRow)
{
    addBlock(u"A", {{u"OTHER", u""}});
    const auto a = addReference(u"A", 0, 0, {{u"OTHER", u"x"}});
    const auto b = addReference(u"A", 0, 10, {{u"OTHER", u"y"}});
    earlierAcquisition();
    acquire(u"g,NAME", {a, b});
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(gridRows(), (std::vector<std::u16string>{u"|", u"|#"}));
    EXPECT_TRUE(arrays.GridBlocks.empty());
    EXPECT_TRUE(arrays.GridAttributes.empty());
    EXPECT_EQ(FUndoCells.Count(), 0);
    EXPECT_EQ(sgUndoCnt, 0);
    EXPECT_EQ(host.speedButton11, true);
    EXPECT_EQ(host.label5, u"INSERT = 2 / 2");
}

TEST_F(GridAcquisition, WithoutATagGroupThePickStillRunsAndTheGridEmpties)
{
    addBlock(u"A", {{u"NAME", u""}});
    const auto a = addReference(u"A", 0, 0, {{u"NAME", u"x"}});
    earlierAcquisition();
    acquire(u"", {a});
    EXPECT_EQ(picker().pickCount(), 1);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.ColCount(), 1);
    EXPECT_EQ(gridRows(), (std::vector<std::u16string>{u"", u""}));
    EXPECT_TRUE(arrays.GridBlocks.empty());
}

TEST_F(GridAcquisition, PickingNothingKeepsTheGridAndTheRecords)
{
    earlierAcquisition();
    const auto before = gridRows();
    acquire(u"g,NAME", {});
    EXPECT_EQ(host.label5, u"INSERT = 0");
    EXPECT_EQ(gridRows(), before);
    EXPECT_EQ(arrays.GridBlocks.size(), 1u);
    EXPECT_EQ(arrays.GridAttributes.size(), 1u);
    EXPECT_EQ(FUndoCells.Count(), 1);
    EXPECT_EQ(sgUndoCnt, 1);
    EXPECT_FALSE(host.speedButton11.has_value());
    EXPECT_EQ(calls(u"Delete", u"SelectionSet"), 1u);
    EXPECT_FALSE(host.run);
    EXPECT_EQ(host.speedButton12, false);
}

TEST_F(GridAcquisition, ProgressCountsPickedReferencesNotRows)
{
    addBlock(u"A", {{u"NAME", u""}});
    std::vector<std::u16string> handles;
    for (int i = 0; i < 10; ++i)
        handles.push_back(i % 3 == 1 ? addReference(u"A", 0, i, {{u"OTHER", u"-"}})
                                     : addReference(u"A", 0, i, {{u"NAME", u"n"}}));
    acquire(u"g,NAME", handles);
    EXPECT_EQ(grid.RowCount(), 8);
    EXPECT_EQ(host.label5, u"ATTR = 7 / 10");
    EXPECT_EQ(grid.cellText(0, 7), u"7");
}

TEST_F(GridAcquisition, RowsFollowTheWiderSpread)
{
    struct Case {
        std::vector<std::pair<double, double>> points;
        std::vector<std::u16string> order;
    };
    const std::vector<Case> cases = {
        {{{100, 0}, {0, 20}, {50, 10}}, {u"0,20", u"50,10", u"100,0"}},    // 100 wide, 20 high
        {{{10, 0}, {0, 100}, {20, 50}}, {u"0,100", u"20,50", u"10,0"}},   // 20 wide, 100 high
        {{{0, 0}, {50, 50}, {25, 10}}, {u"50,50", u"25,10", u"0,0"}},     // equal spreads
    };
    addBlock(u"A", {{u"NAME", u""}});
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.order.front()));
        std::vector<std::u16string> handles;
        for (const auto& [x, y] : c.points) {
            const std::u16string label = common::fromAscii(std::to_string(static_cast<int>(x)) + "," +
                                                           std::to_string(static_cast<int>(y)));
            handles.push_back(addReference(u"A", x, y, {{u"NAME", label}}));
        }
        acquire(u"g,NAME", handles);
        EXPECT_EQ(grid.column(1), c.order);
    }
}

TEST_F(GridAcquisition, StopInTheFirstPassLeavesOneEmptyRow)
{
    addBlock(u"A", {{u"NAME", u""}});
    std::vector<std::u16string> handles;
    for (int i = 0; i < 3; ++i)
        handles.push_back(addReference(u"A", 0, -i, {{u"NAME", u"n"}}));
    host.stopAfterLabel5 = u"INSERT = 2 / 3";
    acquire(u"g,NAME", handles);
    EXPECT_TRUE(arrays.GridBlocks.empty());
    EXPECT_EQ(gridRows(), (std::vector<std::u16string>{u"|", u"|#"}));
    EXPECT_EQ(host.label5, u"INSERT = 2 / 3");
    EXPECT_EQ(calls(u"Delete", u"SelectionSet"), 1u);
    EXPECT_EQ(host.speedButton12, false);
}

// The CAD gets half a second after the pick; the window stays live meanwhile, so Stop may
// be pressed then.
TEST_F(GridAcquisition, TheWaitAfterThePickLetsStopThrough)
{
    addBlock(u"A", {{u"NAME", u""}});
    std::vector<std::u16string> handles;
    for (int i = 0; i < 3; ++i)
        handles.push_back(addReference(u"A", 0, -i, {{u"NAME", u"n"}}));
    int pumpsBeforeTheWait = -1;
    host.onWait = [this, &pumpsBeforeTheWait] {
        pumpsBeforeTheWait = host.pumps;
        host.run = false;
    };
    acquire(u"g,NAME", handles);
    EXPECT_EQ(host.waits, std::vector<int>{500});
    EXPECT_EQ(pumpsBeforeTheWait, 0) << "the wait comes after the pick, before the first reference is read";
    EXPECT_EQ(host.label5, u"INSERT = 3");
    EXPECT_TRUE(arrays.GridBlocks.empty());
    EXPECT_EQ(gridRows(), (std::vector<std::u16string>{u"|", u"|#"}));
    EXPECT_EQ(calls(u"Delete", u"SelectionSet"), 1u);
}

TEST_F(GridAcquisition, StopInTheSecondPassLeavesTheRowsNotReachedBlank)
{
    addBlock(u"A", {{u"NAME", u"名"}});
    std::vector<std::u16string> handles;
    for (int i = 0; i < 3; ++i)
        handles.push_back(addReference(u"A", 0, -i, {{u"NAME", u"n"}}));
    earlierAcquisition();
    host.stopAfterLabel5 = u"ATTR = 1 / 3";
    acquire(u"g,NAME", handles);
    EXPECT_EQ(gridRows(), (std::vector<std::u16string>{u"|名", u"1|n", u"|#", u"|#"}));
    EXPECT_EQ(arrays.GridBlocks.size(), 3u);
    EXPECT_EQ(arrays.GridAttributes.size(), 1u);
    EXPECT_EQ(FUndoCells.Count(), 0);
    EXPECT_EQ(host.speedButton11, true);
    EXPECT_EQ(grid.updateDepth, 0);
}

TEST_F(GridAcquisition, FailuresOnOneReferenceOrAttributeSkipOnlyThat)
{
    addBlock(u"A", {{u"NAME", u""}, {u"SPEC", u""}});
    const auto first = addReference(u"A", 0, 30, {{u"NAME", u"a1"}, {u"SPEC", u"s1"}});
    const auto second = addReference(u"A", 0, 20, {{u"NAME", u"a2"}, {u"SPEC", u"s2"}});
    const auto third = addReference(u"A", 0, 10, {{u"NAME", u"a3"}, {u"SPEC", u"s3"}});
    // The first pass cannot read the second reference's tags; the second pass cannot read
    // the first row's SPEC value.
    session->faults().failMember(FaultInjector::MemberFailure::of(u"TagString").onObject(attributeHandle(second, 0)));
    session->faults().failMember(FaultInjector::MemberFailure::of(u"TextString").onObject(attributeHandle(first, 1)));
    acquire(u"g,NAME,SPEC", {first, second, third});
    EXPECT_EQ(gridRows(), (std::vector<std::u16string>{u"||", u"1|a1|#", u"2|a3|s3"}));
    EXPECT_EQ(arrays.GridAttributes.size(), 3u);
    EXPECT_EQ(grid.cellObject(1, 2), 2);
    EXPECT_EQ(host.speedButton11, true);
}

TEST_F(GridAcquisition, ARowWhoseReferenceIsGoneEndsTheAcquisition)
{
    addBlock(u"A", {{u"NAME", u"名"}});
    const auto first = addReference(u"A", 0, 20, {{u"NAME", u"a1"}});
    const auto second = addReference(u"A", 0, 10, {{u"NAME", u"a2"}});
    earlierAcquisition();
    host.onPump = [&]() {
        if (host.label5 == u"ATTR = 1 / 2" && drawing().findBlockReference(second))
            drawing().erase(second);
    };
    acquire(u"g,NAME", {first, second});
    EXPECT_EQ(gridRows(), (std::vector<std::u16string>{u"|名", u"1|a1", u"2|#"}));
    EXPECT_EQ(grid.widths, (std::vector<int>{64, 64})) << "columns are not fitted";
    EXPECT_EQ(grid.ColCount(), 2);
    // The old undo records would put texts of other attributes into the new rows.
    EXPECT_EQ(FUndoCells.Count(), 0) << "the old undo records are gone";
    EXPECT_EQ(sgUndoCnt, 0);
    EXPECT_FALSE(host.speedButton11.has_value());
    EXPECT_EQ(grid.updateDepth, 0) << "the grid repaints again";
    EXPECT_EQ(calls(u"Delete", u"SelectionSet"), 1u);
    EXPECT_FALSE(host.run);
    EXPECT_EQ(host.speedButton12, false);
    EXPECT_EQ(host.progressPosition, 0);
}

TEST_F(GridAcquisition, UnreadableBlockDefinitionsLeaveTheGridAsItWas)
{
    addBlock(u"A", {{u"NAME", u"名"}});
    const auto a = addReference(u"A", 0, 0, {{u"NAME", u"a"}});
    earlierAcquisition();
    const auto before = gridRows();
    session->faults().failMember(FaultInjector::MemberFailure::of(u"Blocks"));
    acquire(u"g,NAME", {a});
    EXPECT_EQ(gridRows(), before);
    // The records stay with the rows they belong to.
    ASSERT_EQ(arrays.GridBlocks.size(), 1u);
    EXPECT_EQ(arrays.GridBlocks[0].sHnd, u"");
    EXPECT_EQ(arrays.GridAttributes.size(), 1u);
    EXPECT_FALSE(host.speedButton11.has_value());
    EXPECT_EQ(calls(u"Delete", u"SelectionSet"), 1u);
}

TEST_F(GridAcquisition, EditsShownAfterAFailedAcquisitionAreStillWritten)
{
    addBlock(u"A", {{u"NAME", u"名"}});
    const auto a = addReference(u"A", 0, 0, {{u"NAME", u"a"}});
    const auto b = addReference(u"A", 0, 10, {{u"NAME", u"b"}});
    acquire(u"g,NAME", {a});
    grid.setCellText(1, 1, u"a-edited");

    session->faults().failMember(FaultInjector::MemberFailure::of(u"Blocks"));
    acquire(u"g,NAME", {b});
    session->faults().clear();
    ASSERT_EQ(grid.cellText(1, 1), u"a-edited");

    SpeedButton11Click(context);
    EXPECT_EQ(attributeValue(attributeHandle(a, 0)), u"a-edited");
    EXPECT_EQ(attributeValue(attributeHandle(b, 0)), u"b");
}

TEST_F(GridAcquisition, WithoutTheCadOnlyTheFrameStepsRun)
{
    struct Case {
        const char* name;
        std::u16string progId;
        bool announced;
    };
    const std::vector<Case> cases = {{"not running", u"BricscadApp.AcadApplication", false},
                                     {"unknown ProgID", u"No.SuchApplication", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.announced)
            runningObjects.revoke(link.progId);
        link.progId = c.progId;
        windows.log.clear();
        host.label1 = u"L1";
        EXPECT_NO_THROW(SpeedButton10Click(context));
        EXPECT_EQ(picker().pickCount(), 0);
        EXPECT_EQ(host.label1, u"");
        EXPECT_TRUE(fields.ATTmode);
        EXPECT_FALSE(host.run);
        EXPECT_EQ(host.speedButton12, false);
        EXPECT_EQ(windows.log.front(), "own normal");
        EXPECT_TRUE(host.label5History.empty());
    }
}

TEST_F(GridAcquisition, NotStartedWhileAnotherCadOperationRuns)
{
    addBlock(u"A", {{u"NAME", u""}});
    const auto a = addReference(u"A", 0, 0, {{u"NAME", u"a"}});
    fields.cadOperationRunning = true;
    host.run = true;
    acquire(u"g,NAME", {a});
    EXPECT_EQ(picker().pickCount(), 0);
    EXPECT_EQ(host.label1, u"L1");
    EXPECT_TRUE(host.run) << "the running operation keeps its run flag";
    EXPECT_TRUE(fields.cadOperationRunning);
}

TEST(ReadAttributeDefinitions, FirstMatchingNamedDefinitionOnly)
{
    auto session = kelvocad::CadSession::create(std::make_shared<kelvocad::Drawing>());
    auto& drawing = session->drawing();
    auto block = [&](std::u16string name, std::vector<std::pair<std::u16string, std::u16string>> tags) {
        kelvocad::BlockDefinition b;
        b.name = std::move(name);
        for (auto& [tag, prompt] : tags)
            b.attributes.push_back({{}, tag, prompt, {}, {}, 0, 2.5});
        drawing.addBlock(b);
    };
    block(u"FRAME", {});
    block(u"pump2", {{u"NAME", u"名2"}});
    block(u"PUMP1", {{u"NAME", u"名1"}, {u"SPEC", u"仕様1"}});
    const auto document = session->application()->get(u"ActiveDocument").toObject();

    struct Case {
        std::u16string mask;
        std::vector<std::u16string> lines;
    };
    const std::vector<Case> cases = {
        {u"*", {}},  // FRAME is first and has no attribute definitions
        {u"PUMP*", {u"NAME\t名2"}},
        {u"PUMP1", {u"NAME\t名1", u"SPEC\t仕様1"}},
        {u"X*,PUMP1", {u"NAME\t名1", u"SPEC\t仕様1"}},
        {u"NONE", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.mask));
        std::vector<std::u16string> list = {u"stale"};
        EXPECT_EQ(ReadAttributeDefinitions(*document, c.mask, list), static_cast<int>(c.lines.size()));
        EXPECT_EQ(list, c.lines);
    }
    std::vector<std::u16string> list;
    EXPECT_THROW(ReadAttributeDefinitions(*document, u"[P", list), MaskError);

    EXPECT_EQ(ReadAttributePrompt(*document, u"PUMP1", u"SPEC"), u"仕様1");
    EXPECT_EQ(ReadAttributePrompt(*document, u"PUMP1", u"spec"), u"");
    EXPECT_EQ(ReadAttributePrompt(*document, u"pump1", u"SPEC"), u"") << "block names compare exactly";
    EXPECT_EQ(ReadAttributePrompt(*document, u"NONE", u"SPEC"), u"");
}

}  // namespace
}  // namespace grid::test
