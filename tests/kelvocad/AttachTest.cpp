#include "CadTestSupport.h"

#include "automation/InProcessRunningObjects.h"

namespace kelvocad::test {
namespace {

// A client attaches to an in-process KelvoCAD exactly as it attaches to a running CAD.
TEST(AttachTest, ClientFindsKelvoCadByProgId)
{
    automation::InProcessRunningObjects table;
    auto session = CadSession::create();
    table.registerProgId(u"KelvoCAD.Application");
    EXPECT_FALSE(table.isRunning(u"KelvoCAD.Application"));

    table.announce(u"KelvoCAD.Application", session->application());
    ASSERT_TRUE(table.isRunning(u"kelvocad.application"));
    auto app = table.activeObject(u"KelvoCAD.Application");
    auto doc = app->get(u"ActiveDocument").toObject();
    EXPECT_EQ(doc->get(u"SelectionSets").toObject()->get(u"Count").toInt(), 0);
    EXPECT_EQ(session->callLog().count(u"ActiveDocument"), 1u);

    // The CAD ends: the client's references stay usable but the table no longer has it.
    table.revoke(u"KelvoCAD.Application");
    EXPECT_EQ(errorOf([&] { table.activeObject(u"KelvoCAD.Application"); }), hr::NotRunning);
    EXPECT_EQ(errorOf([&] { table.isRunning(u"BricscadApp.AcadApplication"); }), hr::InvalidClassString);
    EXPECT_FALSE(table.isRunning(u"KelvoCAD.Application"));
    // Nothing but the client's references holds the session now; they keep it, and they
    // still answer, through the session that served them before.
    const std::weak_ptr<CadSession> ended = session;
    session.reset();
    ASSERT_FALSE(ended.expired()) << "the client's references do not keep the session";
    const auto sets = doc->get(u"SelectionSets").toObject();
    sets->call(u"Add", {Variant(u"AFTER")});
    EXPECT_EQ(sets->get(u"Count").toInt(), 1);
    EXPECT_EQ(app->get(u"ActiveDocument").toObject()->get(u"SelectionSets").toObject()->get(u"Count").toInt(), 1);
    EXPECT_EQ(ended.lock()->callLog().count(u"ActiveDocument"), 2u);
}

}  // namespace
}  // namespace kelvocad::test
