#include "GridFixture.h"

#include "automation/AutomationError.h"
#include "grid/AttributeGridAcquisition.h"
#include "grid/GridUpdate.h"

namespace grid::test {
namespace {

using kelvocad::FaultInjector;

// Three data rows with tags in columns 1 and 2; the second row's block has no SPEC.
class GridUpdate : public GridFixture {
protected:
    std::vector<std::u16string> references;

    void SetUp() override
    {
        GridFixture::SetUp();
        addBlock(u"A", {{u"NAME", u"名"}, {u"SPEC", u"仕様"}});
        references = {addReference(u"A", 0, 30, {{u"NAME", u"a1"}, {u"SPEC", u"s1"}}),
                      addReference(u"A", 0, 20, {{u"NAME", u"a2"}}),
                      addReference(u"A", 0, 10, {{u"NAME", u"a3"}, {u"SPEC", u"s3"}})};
        host.comboBox2 = u"g,NAME,SPEC";
        picker().nextPickReturns(references);
        SpeedButton10Click(context);
        ASSERT_EQ(gridRows(), (std::vector<std::u16string>{u"|名|仕様", u"1|a1|s1", u"2|a2|#", u"3|a3|s3"}));
        drawing().clearUndo();
        session->callLog().clear();
        windows.log.clear();
    }

    // The attribute handles whose TextString was written, in order, with the values written.
    std::vector<std::u16string> writes()
    {
        std::vector<std::u16string> out;
        for (const auto& record : session->callLog().records())
            if (record.member == u"TextString" && record.access == kelvocad::MemberAccess::Put && !record.failed())
                out.push_back(record.objectId + u"=" + record.value.toString());
        return out;
    }

    std::u16string handle(int reference, size_t attribute) { return attributeHandle(references[static_cast<size_t>(reference)], attribute); }

    void expectFailedCellSkipped(size_t expectedWrites);

    void expectOneUndoRestores(const std::vector<std::string>& before)
    {
        EXPECT_EQ(drawing().journal().markDepth(), 0) << "undo group left open";
        EXPECT_TRUE(session->undoLastStep());
        EXPECT_EQ(snapshot(), before);
        EXPECT_FALSE(session->undoLastStep()) << "the update took more than one undo step";
    }
};

TEST_F(GridUpdate, WritesEveryAttributeCellRowByRowInOneUndoStep)
{
    const auto before = snapshot();
    grid.setCellText(2, 1, u"S1 new");
    grid.setCellText(2, 2, u"typed into a grey cell");
    SpeedButton11Click(context);

    EXPECT_EQ(writes(), (std::vector<std::u16string>{handle(0, 0) + u"=a1", handle(0, 1) + u"=S1 new",
                                                      handle(1, 0) + u"=a2", handle(2, 0) + u"=a3",
                                                      handle(2, 1) + u"=s3"}));
    EXPECT_EQ(session->callLog().count(u"Update"), 5u);
    EXPECT_EQ(attributeValue(handle(0, 1)), u"S1 new");
    EXPECT_EQ(arrays.GridAttributes[1].text, u"S1 new");
    EXPECT_EQ(windows.log.front(), "setForeground 99") << "the main window is not minimised";
    expectOneUndoRestores(before);
    EXPECT_EQ(arrays.GridAttributes[1].text, u"S1 new") << "the record is not read back";
}

// The first row's NAME cannot be written; the third row's is written all the same.
void GridUpdate::expectFailedCellSkipped(size_t expectedWrites)
{
    SpeedButton11Click(context);
    EXPECT_EQ(arrays.GridAttributes[0].text, u"a1") << "the cell stays marked as changed";
    EXPECT_EQ(arrays.GridAttributes[3].text, u"also changed");
    EXPECT_EQ(attributeValue(handle(2, 0)), u"also changed");
    EXPECT_EQ(writes().size(), expectedWrites);
    EXPECT_EQ(drawing().journal().markDepth(), 0);
}

TEST_F(GridUpdate, AnErasedAttributeIsSkipped)
{
    grid.setCellText(1, 1, u"changed");
    grid.setCellText(1, 3, u"also changed");
    drawing().erase(references[0]);
    expectFailedCellSkipped(3);
}

TEST_F(GridUpdate, ARefusedValueIsSkipped)
{
    grid.setCellText(1, 1, u"changed");
    grid.setCellText(1, 3, u"also changed");
    session->faults().failMember(FaultInjector::MemberFailure::of(u"TextString").onObject(handle(0, 0)));
    expectFailedCellSkipped(4);
}

TEST_F(GridUpdate, CellObjectsWithoutARecordAreNeverWritten)
{
    // An acquisition that ended early can leave objects that name no record.
    grid.setCellObject(2, 2, 9);
    SpeedButton11Click(context);
    EXPECT_EQ(writes().size(), 5u);

    arrays.GridAttributes.clear();
    session->callLog().clear();
    SpeedButton11Click(context);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(session->callLog().count(u"StartUndoMark"), 1u);
    EXPECT_EQ(session->callLog().count(u"EndUndoMark"), 1u);
}

TEST_F(GridUpdate, FailuresBeforeTheCellsEndItSilently)
{
    struct Case {
        const char* name;
        std::u16string member;
    };
    const std::vector<Case> cases = {{"document", u"ActiveDocument"}, {"undo mark", u"StartUndoMark"}};
    grid.setCellText(1, 1, u"changed");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        session->faults().failMember(FaultInjector::MemberFailure::of(c.member));
        session->callLog().clear();
        EXPECT_NO_THROW(SpeedButton11Click(context));
        EXPECT_TRUE(writes().empty());
        EXPECT_EQ(session->callLog().count(u"EndUndoMark"), 0u);
        EXPECT_TRUE(host.messages.empty());
        session->faults().clear();
    }
    EXPECT_EQ(attributeValue(handle(0, 0)), u"a1");
}

TEST_F(GridUpdate, WithoutTheCadNothingHappensButAnUnknownProgIdIsAnError)
{
    runningObjects.revoke(link.progId);
    EXPECT_NO_THROW(SpeedButton11Click(context));
    EXPECT_TRUE(windows.log.empty());

    link.progId = u"No.SuchApplication";
    EXPECT_THROW(SpeedButton11Click(context), automation::AutomationError);
}

TEST_F(GridUpdate, UpdateAndUndoWaitWhileAnAcquisitionRuns)
{
    FUndoCells.Add(grid, 1, 1);
    grid.setCellText(1, 1, u"edited");
    sgUndoCnt = 1;
    fields.cadOperationRunning = true;
    SpeedButton11Click(context);
    EXPECT_TRUE(session->callLog().records().empty());
    SpeedButton13Click(context);
    EXPECT_EQ(grid.cellText(1, 1), u"edited");
    EXPECT_EQ(FUndoCells.Count(), 1);

    fields.cadOperationRunning = false;
    SpeedButton13Click(context);
    EXPECT_EQ(grid.cellText(1, 1), u"a1");
}

TEST_F(GridUpdate, UndoButtonTakesBackTheGroupCountEachTime)
{
    // Eight cells recorded one after another, the last four as one group of four.
    int n = 0;
    for (int row = 1; row <= 3; ++row)
        for (int col = 1; col <= 2; ++col) {
            FUndoCells.Add(grid, col, row);
            grid.setCellText(col, row, u"e" + std::u16string(1, static_cast<char16_t>(u'0' + ++n)));
        }
    struct Step {
        int count;
        int recordsLeft;
    };
    const std::vector<Step> steps = {{0, 6}, {-1, 6}, {4, 2}, {4, 0}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.count);
        sgUndoCnt = s.count;
        SpeedButton13Click(context);
        EXPECT_EQ(FUndoCells.Count(), s.recordsLeft);
        EXPECT_EQ(sgUndoCnt, s.count) << "the button leaves the count as it is";
    }
    EXPECT_EQ(gridRows(), (std::vector<std::u16string>{u"|名|仕様", u"1|a1|s1", u"2|a2|#", u"3|a3|s3"}));
}

TEST_F(GridUpdate, StopClearsTheRunFlagAndLetsTheWindowWork)
{
    host.run = true;
    host.pumps = 0;
    SpeedButton12Click(context);
    EXPECT_FALSE(host.run);
    EXPECT_EQ(host.pumps, 1);
}

}  // namespace
}  // namespace grid::test
