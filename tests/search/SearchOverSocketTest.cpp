// The search against a KelvoCAD served over the local socket, as kelvoedit drives it on
// Linux: a fixed number of round trips per hit, nothing left exported.

#include "FakeResultGrid.h"
#include "FakeSearchHost.h"
#include "ServedCadSession.h"

#include "grid/TUndoCells.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/CadSession.h"
#include "search/SearchContext.h"
#include "search/SearchResults.h"
#include "search/TextSearch.h"

#include <gtest/gtest.h>

namespace search::test {
namespace {

using automation::socket::SocketServer;

TEST(SearchOverSocket, RoundTripsGrowByFivePerHitAndEveryObjectIsReleased)
{
    const auto served = kelvocad::CadSession::create(std::make_shared<kelvocad::Drawing>());
    sockettest::ServedCadSession socket(served);
    auto& server = socket.server();
    auto* const client = &socket.client();
    FakeSearchHost host;
    FakeResultGrid grid;
    std::vector<editor::Kelvo2> hits;
    grid::TUndoCells undoCells;
    int undoCount = 0;
    editor::LineEditorFields fields;
    SearchContext context{socket.link(), host, grid, hits, undoCells, undoCount, fields};
    grid.onClick = [&] { StringGrid2Click(context); };

    // The round trips of one search over n matching TEXTs (and as many that do not match).
    const auto roundTrips = [&](int n) {
        server.run([&](SocketServer&) {
            for (int i = 0; i < n; ++i) {
                kelvocad::TextEntity text;
                text.string = u"HIT";
                served->drawing().addText(text);
                text.string = u"OTHER";
                served->drawing().addText(text);
            }
        });
        int64_t before = 0;
        server.run([&](SocketServer& s) { before = s.memberAccessCount(); });
        host.edit3 = u"HIT";
        SpeedButton14Click(context);
        int64_t after = 0;
        server.run([&](SocketServer& s) { after = s.memberAccessCount(); });
        return after - before;
    };
    const int64_t ten = roundTrips(10);
    ASSERT_EQ(hits.size(), 10u);
    const int64_t thirty = roundTrips(20);
    ASSERT_EQ(hits.size(), 30u);
    // Item, TextString, Handle, InsertionPoint and Layer.
    EXPECT_EQ(thirty - ten, 5 * 20);
    EXPECT_EQ(client->exportedObjectCount(), 0) << "every object obtained was released";

    grid.text(0) = u"CHANGED";
    SpeedButton15Click(context);
    EXPECT_EQ(host.messages.back(), u"1 / 1 個の TEXT を更新しました．");
    EXPECT_EQ(client->exportedObjectCount(), 0);
}

}  // namespace
}  // namespace search::test
