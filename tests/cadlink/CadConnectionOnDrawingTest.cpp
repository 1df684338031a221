#include "FakeWindowServices.h"

#include "automation/AutomationError.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/CadSession.h"

#include <gtest/gtest.h>

using namespace cadlink;
using cadlink::fakes::FakeWindowServices;
using automation::ObjectRef;
using automation::Variant;

namespace {

class OnDrawing : public ::testing::Test {
protected:
    std::shared_ptr<kelvocad::CadSession> session = kelvocad::CadSession::create(std::make_shared<kelvocad::Drawing>());
    ObjectRef app = session->application();
    ObjectRef doc = app->get(u"ActiveDocument").toObject();
    ObjectRef sets = doc->get(u"SelectionSets").toObject();

    std::vector<std::u16string> setNames()
    {
        std::vector<std::u16string> names;
        for (int32_t i = 0; i < sets->get(u"Count").toInt(); ++i)
            names.push_back(sets->call(u"Item", {Variant(i)}).toObject()->get(u"Name").toString());
        return names;
    }
};

TEST_F(OnDrawing, WorkSetIsAddedWhenTheDocumentHasNone)
{
    ObjectRef set = AcquireWorkSelectionSet(*doc);
    ASSERT_TRUE(set);
    EXPECT_EQ(setNames(), std::vector<std::u16string>{u"SSTEMP"});
    disposeWorkSelectionSet(set);
    EXPECT_FALSE(set);
    EXPECT_TRUE(setNames().empty());
}

TEST_F(OnDrawing, WorkSetLeftBehindInAnyCaseIsEmptiedAndReused)
{
    const auto handle = session->drawing().addText({});
    sets->call(u"Add", {Variant(u"Other")});
    ObjectRef old = sets->call(u"Add", {Variant(u"ssTemp")}).toObject();
    old->call(u"Select", {Variant(int32_t{5}), Variant::omitted(), Variant::omitted(),
                          Variant::int16Array({0}), Variant::variantArray({Variant(u"TEXT")})});
    ASSERT_EQ(old->get(u"Count").toInt(), 1) << "handle " << handle.size();

    ObjectRef set = AcquireWorkSelectionSet(*doc);
    ASSERT_TRUE(set);
    EXPECT_EQ(set->get(u"Name").toString(), u"ssTemp");
    EXPECT_EQ(set->get(u"Count").toInt(), 0);
    EXPECT_EQ(setNames().size(), 2u) << "no second work set";
}

TEST_F(OnDrawing, WorkSetFailureLeavesNoSet)
{
    session->faults().failMember(kelvocad::FaultInjector::MemberFailure::of(u"Add"));
    EXPECT_FALSE(AcquireWorkSelectionSet(*doc));
}

TEST_F(OnDrawing, LockedLayerListKeepsLayerOrderAndWholeNames)
{
    auto& d = session->drawing();
    d.addLayer(u"POWER", false);
    d.addLayer(u"POWER LINES", true);
    d.addLayer(u"枠", true);
    const auto list = lockedLayerList(*doc);
    EXPECT_EQ(list, u"\tPOWER LINES\t枠\t");
    EXPECT_FALSE(isOnLockedLayer(list, u"POWER"));
    EXPECT_TRUE(isOnLockedLayer(list, u"POWER LINES"));
}

TEST_F(OnDrawing, ZoomToEntityPansTwiceKeepsHeightAndMarksTheCentre)
{
    FakeWindowServices windows;
    session->documentWindow = 42;
    session->setScreenSize(1000, 600);
    const double height = session->view().height;
    const auto callsBefore = session->callCount();
    ZoomToEntity(windows, *app, Variant::point(30.0, -5.0, 9.0), 3, false, 0.05);
    EXPECT_DOUBLE_EQ(session->view().center.x, 30.0);
    EXPECT_DOUBLE_EQ(session->view().center.y, -5.0);
    EXPECT_DOUBLE_EQ(session->view().height, height);
    EXPECT_EQ(session->callLog().count(u"ZoomCenter"), 2u);
    EXPECT_GT(session->callCount(), callsBefore);
    ASSERT_EQ(windows.log.size(), 1u);
    EXPECT_EQ(windows.log[0], "marker 42 pen 3 rgb " + std::to_string(255 | 100 << 8 | 100 << 16));
    EXPECT_EQ(windows.marker.front(), (MarkerPoint{500, 300}));
    EXPECT_EQ(windows.marker[1], (MarkerPoint{450, 275}));
}

TEST_F(OnDrawing, ZoomToEntityWithoutScreenWidthPansButDrawsNothing)
{
    FakeWindowServices windows;
    session->documentWindow = 42;
    session->setScreenSize(0, 600);
    ZoomToEntity(windows, *app, Variant::point(1.0, 2.0), 3, false, 0.05);
    EXPECT_DOUBLE_EQ(session->view().center.x, 1.0);
    EXPECT_TRUE(windows.log.empty());
}

TEST_F(OnDrawing, ZoomToEntitySwallowsCadErrors)
{
    FakeWindowServices windows;
    session->faults().failMember(kelvocad::FaultInjector::MemberFailure::of(u"GetVariable"));
    EXPECT_NO_THROW(ZoomToEntity(windows, *app, Variant::point(1.0, 2.0), 3, false, 0.05));
    EXPECT_TRUE(windows.log.empty());
}

}  // namespace
