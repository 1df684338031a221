#include "kelvocad/app/ViewTransform.h"

#include <gtest/gtest.h>

namespace kelvocad {
namespace {

struct ViewCase {
    const char* name;
    Point3 center;
    double height;
    int width;
    int heightPixels;
};

class ViewTransformTest : public ::testing::TestWithParam<ViewCase> {};

TEST_P(ViewTransformTest, CentreLandsMidWidgetAndYPointsUp)
{
    const ViewCase& c = GetParam();
    const ViewTransform view(c.center, c.height, c.width, c.heightPixels);
    const QPointF middle = view.toScreen(c.center);
    EXPECT_DOUBLE_EQ(middle.x(), c.width / 2.0);
    EXPECT_DOUBLE_EQ(middle.y(), c.heightPixels / 2.0);
    // Half the view height above the centre is the top edge of the widget.
    EXPECT_NEAR(view.toScreen(c.center.x, c.center.y + c.height / 2.0).y(), 0.0, 1e-9);
    EXPECT_NEAR(view.toScreen(c.center.x, c.center.y - c.height / 2.0).y(), c.heightPixels, 1e-9);
    EXPECT_DOUBLE_EQ(view.scale(), c.heightPixels / c.height);
}

TEST_P(ViewTransformTest, WorldAndScreenRoundTrip)
{
    const ViewCase& c = GetParam();
    const ViewTransform view(c.center, c.height, c.width, c.heightPixels);
    for (const QPointF pixel : {QPointF(0, 0), QPointF(c.width, c.heightPixels), QPointF(13.5, 271.25)}) {
        const Point3 world = view.toWorld(pixel);
        const QPointF back = view.toScreen(world);
        EXPECT_NEAR(back.x(), pixel.x(), 1e-9);
        EXPECT_NEAR(back.y(), pixel.y(), 1e-9);
    }
    for (const Point3 world : {Point3{0, 0, 0}, Point3{-40.5, 1234.0, 0}, c.center}) {
        const Point3 back = view.toWorld(view.toScreen(world));
        EXPECT_NEAR(back.x, world.x, 1e-9 * (1 + std::abs(world.x)));
        EXPECT_NEAR(back.y, world.y, 1e-9 * (1 + std::abs(world.y)));
    }
}

TEST_P(ViewTransformTest, ZoomKeepsTheAnchorOverTheSamePoint)
{
    const ViewCase& c = GetParam();
    const ViewTransform before(c.center, c.height, c.width, c.heightPixels);
    const QPointF anchor(c.width * 0.2, c.heightPixels * 0.7);
    const Point3 under = before.toWorld(anchor);
    const double newHeight = c.height / 1.44;
    const ViewTransform after(before.centerForZoom(anchor, newHeight), newHeight, c.width, c.heightPixels);
    const QPointF moved = after.toScreen(under);
    EXPECT_NEAR(moved.x(), anchor.x(), 1e-6);
    EXPECT_NEAR(moved.y(), anchor.y(), 1e-6);
}

TEST_P(ViewTransformTest, PanMovesTheDrawingWithTheMouse)
{
    const ViewCase& c = GetParam();
    const ViewTransform before(c.center, c.height, c.width, c.heightPixels);
    const Point3 point{c.center.x + 3.0, c.center.y - 2.0, 0.0};
    const QPointF delta(25.0, -10.0);
    const ViewTransform after(before.centerForPan(delta), c.height, c.width, c.heightPixels);
    const QPointF moved = after.toScreen(point) - before.toScreen(point);
    EXPECT_NEAR(moved.x(), delta.x(), 1e-9);
    EXPECT_NEAR(moved.y(), delta.y(), 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Views, ViewTransformTest,
                         ::testing::Values(ViewCase{"Default", {100, 100, 0}, 250.0, 1000, 700},
                                           ViewCase{"Wide", {-20, 5, 0}, 10.0, 1920, 300},
                                           ViewCase{"TallAndFar", {1e5, -3e4, 0}, 4000.0, 320, 900}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ViewTransform, NonPositiveHeightStillInverts)
{
    const ViewTransform view({10, 10, 0}, 0.0, 200, 100);
    const Point3 back = view.toWorld(view.toScreen(12.0, 7.0));
    EXPECT_NEAR(back.x, 12.0, 1e-9);
    EXPECT_NEAR(back.y, 7.0, 1e-9);
}

}  // namespace
}  // namespace kelvocad
