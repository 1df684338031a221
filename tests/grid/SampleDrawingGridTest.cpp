#include "FakeGridClipboard.h"
#include "GridFixture.h"

#include "grid/AttributeGridAcquisition.h"
#include "grid/GridClipboard.h"
#include "grid/GridUpdate.h"
#include "grid/HandleGridKey.h"
#include "grid/SortGridRows.h"
#include "grid/UndoGroup.h"
#include "kelvocad/model/SampleDrawing.h"

namespace grid::test {
namespace {

using TextClipboard = FakeGridClipboard;

// A whole session on KelvoCAD's sample drawing: load the I/O comment group, copy the grid
// out, paste an edited block back, undo, sort and write back.
class SampleDrawingGrid : public GridFixture {
protected:
    TextClipboard clipboard;

    void SetUp() override
    {
        session = kelvocad::CadSession::create(kelvocad::makeSampleDrawing());
        GridFixture::SetUp();
    }

    void press(int key)
    {
        HandleGridKey(grid, key, {false, true, false}, FUndoCells, sgUndoCnt, clipboard);
        EXPECT_EQ(key, 0);
    }

    std::vector<std::u16string> allReferences()
    {
        std::vector<std::u16string> handles;
        for (const auto& e : drawing().entities())
            if (const auto* b = std::get_if<kelvocad::BlockReference>(&e))
                handles.push_back(b->handle);
        return handles;
    }
};

TEST_F(SampleDrawingGrid, LoadCopyPasteSortUndoAndWriteBack)
{
    host.comboBox2 = u"I/Oコメント,PIN1,IOADRS,JCMNT1,JCMNT2";
    picker().nextPickReturns(allReferences());
    SpeedButton10Click(context);
    const std::vector<std::u16string> loaded = {u"|ピン番号|I/Oアドレス|コメント１|コメント２", u"1|1|X0A0|電源入|AC100V",
                                                u"2|2|X0A1|非常停止|B接点", u"3|3|X0A2|運転|", u"4|4|Y000|運転表示|GL"};
    ASSERT_EQ(gridRows(), loaded);
    EXPECT_EQ(host.label5, u"ATTR = 4 / 10");

    grid.select(1, 1, 4, 4);
    press(keys::C);
    EXPECT_EQ(clipboard.content, u"1\tX0A0\t電源入\tAC100V\r\n2\tX0A1\t非常停止\tB接点\r\n3\tX0A2\t運転\t\r\n"
                                 u"4\tY000\t運転表示\tGL\r\n");

    // The spreadsheet sends back the comment columns, edited.
    clipboard.content = u"電源入\tAC200V\r\n非常停止\tB接点\r\n運転\tRUN\r\n運転表示\tGL\r\n";
    grid.select(3, 1, 3, 1);
    press(keys::V);
    EXPECT_EQ(sgUndoCnt, 8);
    EXPECT_EQ(grid.column(4), (std::vector<std::u16string>{u"AC200V", u"B接点", u"RUN", u"GL"}));
    undoGroupByKey(FUndoCells, grid, sgUndoCnt);
    EXPECT_EQ(gridRows(), loaded);
    press(keys::V);

    SortGridRows(grid, 3, -1, SortOrder::Text);
    EXPECT_EQ(grid.column(3), (std::vector<std::u16string>{u"運転", u"運転表示", u"電源入", u"非常停止"}));
    EXPECT_EQ(grid.column(0), (std::vector<std::u16string>{u"3", u"4", u"1", u"2"}));

    const auto before = snapshot();
    drawing().clearUndo();
    SpeedButton11Click(context);
    const auto& first = drawing().findBlockReference(arrays.GridBlocks[0].sHnd)->attributes;
    EXPECT_EQ(first[3].string, u"AC200V");
    EXPECT_EQ(drawing().findBlockReference(arrays.GridBlocks[2].sHnd)->attributes[3].string, u"RUN");
    EXPECT_TRUE(session->undoLastStep());
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(session->undoLastStep()) << "the update is one undo step";

    SortGridRows(grid, 0, -1, SortOrder::Text);
    EXPECT_EQ(grid.column(0), (std::vector<std::u16string>{u"1", u"2", u"3", u"4"}));
    EXPECT_EQ(grid.column(4), (std::vector<std::u16string>{u"AC200V", u"B接点", u"RUN", u"GL"}));
}

}  // namespace
}  // namespace grid::test
