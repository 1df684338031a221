// The attribute grid's acquisition and update against a KelvoCAD served over the local
// socket, as kelvoedit drives it on Linux: one round trip per member access, nothing left
// exported.

#include "GridFixture.h"
#include "ServedCadSession.h"

#include "grid/AttributeGridAcquisition.h"
#include "grid/GridUpdate.h"

namespace grid::test {
namespace {

using automation::socket::SocketServer;

// Acquisition and update of `blocks` references with two tags each; the number of calls
// each took.
struct Counts {
    uint64_t acquisition = 0;
    uint64_t update = 0;
};

Counts runSession(int blocks)
{
    const auto served = kelvocad::CadSession::create(std::make_shared<kelvocad::Drawing>());
    auto& drawing = served->drawing();
    kelvocad::BlockDefinition definition{u"IO", {}, {}};
    for (const auto* tag : {u"PIN", u"ADR"}) {
        kelvocad::AttributeDefinition d;
        d.tag = tag;
        d.prompt = std::u16string(tag) + u"?";
        definition.attributes.push_back(d);
    }
    drawing.addBlock(definition);
    std::vector<std::u16string> handles;
    for (int i = 0; i < blocks; ++i) {
        kelvocad::BlockReference reference;
        reference.name = u"IO";
        reference.insertionPoint = {0, -10.0 * i, 0};
        for (const auto* tag : {u"PIN", u"ADR", u"OTHER"}) {
            kelvocad::AttributeReference a;
            a.tag = tag;
            a.string = std::u16string(tag) + common::fromAscii(std::to_string(i));
            reference.attributes.push_back(a);
        }
        handles.push_back(drawing.addBlockReference(reference));
    }
    drawing.clearUndo();

    sockettest::ServedCadSession socket(served);
    auto& server = socket.server();
    auto* const client = &socket.client();
    FakeGridPageHost host;
    host.comboBox2 = u"入出力,PIN,ADR";
    FakeCellGrid grid;
    editor::EntityArrays arrays;
    TUndoCells undoCells;
    int undoCount = 0;
    editor::LineEditorFields fields;
    GridContext context{socket.link(), host, grid, arrays.GridBlocks, arrays.GridAttributes, undoCells, undoCount, fields};

    Counts counts;
    uint64_t calls = 0;
    server.run([&](SocketServer&) {
        served->scriptedPicker()->nextPickReturns(handles);
        calls = served->callCount();
    });
    SpeedButton10Click(context);
    server.run([&](SocketServer&) { counts.acquisition = served->callCount() - calls; });
    EXPECT_EQ(grid.RowCount(), blocks + 1);
    EXPECT_EQ(grid.cellText(1, 0), u"PIN?");
    EXPECT_EQ(grid.cellText(2, blocks), u"ADR" + common::fromAscii(std::to_string(blocks - 1)));

    for (int row = 1; row <= blocks; ++row)
        grid.setCellText(2, row, grid.cellText(2, row) + u"-変更");
    server.run([&](SocketServer&) { calls = served->callCount(); });
    SpeedButton11Click(context);
    server.run([&](SocketServer&) {
        counts.update = served->callCount() - calls;
        EXPECT_EQ(drawing.findBlockReference(handles.back())->attributes[1].string,
                  u"ADR" + common::fromAscii(std::to_string(blocks - 1)) + u"-変更");
        EXPECT_TRUE(served->undoLastStep());
        EXPECT_EQ(drawing.findBlockReference(handles.back())->attributes[1].string,
                  u"ADR" + common::fromAscii(std::to_string(blocks - 1)));
        EXPECT_FALSE(served->undoLastStep());
    });
    EXPECT_EQ(client->exportedObjectCount(), 0) << "every object obtained was released";
    return counts;
}

TEST(GridOverSocket, CallsGrowByAFixedAmountPerBlockAndEveryObjectIsReleased)
{
    const Counts two = runSession(2);
    const Counts five = runSession(5);
    // Per block: first pass Item, GetAttributes, a tag and four reference values; second
    // pass HandleToObject, GetAttributes, three tags and four values per matching
    // attribute. The update: HandleToObject, TextString and Update per cell.
    EXPECT_EQ((five.acquisition - two.acquisition) / 3, 2u + 1u + 4u + 2u + 3u + 2u * 4u);
    EXPECT_EQ((five.acquisition - two.acquisition) % 3, 0u);
    EXPECT_EQ(five.update - two.update, 3u * 2u * 3u);
}

}  // namespace
}  // namespace grid::test
