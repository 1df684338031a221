#include "kelvocad/app/TextLayout.h"

#include <gtest/gtest.h>

#include <QLineF>

#include <cmath>
#include <limits>
#include <numbers>

namespace kelvocad {
namespace {

// Corners of PlacedText::outline.
enum Corner { BaseStart, BaseEnd, TopEnd, TopStart };

QPointF lerp(const QPointF& a, const QPointF& b, double t)
{
    return a + (b - a) * t;
}

struct AlignmentCase {
    const char* name;
    int alignment;
    double rotation;
    // Where the reference point lies on the box: fraction along the baseline, and which
    // vertical line (0 descent line, 1 baseline, 2 half height, 3 top).
    double along;
    int vertical;
};

class TextAlignmentTest : public ::testing::TestWithParam<AlignmentCase> {
protected:
    TextLayout layout;
};

TEST_P(TextAlignmentTest, ReferencePointSitsWhereTheAlignmentSays)
{
    const AlignmentCase& c = GetParam();
    const Point3 insertion{-7.0, 3.0, 0.0};
    const Point3 alignmentPoint{20.0, 30.0, 0.0};
    const double height = 5.0;
    const PlacedText text = layout.place(u"AB12電源", insertion, alignmentPoint, c.alignment, height, c.rotation);
    ASSERT_EQ(text.outline.size(), 4);
    const QPointF base = lerp(text.outline[BaseStart], text.outline[BaseEnd], c.along);
    const QPointF top = lerp(text.outline[TopStart], text.outline[TopEnd], c.along);
    // The box runs from the descent line to the cap height; the baseline lies in between.
    const double descent = QLineF(text.outline[BaseStart], text.outline[TopStart]).length() - height;
    const QPointF up = (top - base) / QLineF(base, top).length();
    QPointF expected;
    switch (c.vertical) {
    case 0: expected = base; break;
    case 1: expected = base + up * descent; break;
    case 2: expected = base + up * (descent + height / 2.0); break;
    default: expected = top; break;
    }
    const Point3 reference = c.alignment == 0 ? insertion : alignmentPoint;
    EXPECT_NEAR(expected.x(), reference.x, 1e-6);
    EXPECT_NEAR(expected.y(), reference.y, 1e-6);
    // The text runs along its rotation.
    const QPointF run = text.outline[BaseEnd] - text.outline[BaseStart];
    EXPECT_NEAR(std::atan2(run.y(), run.x()), c.rotation, 1e-9);
}

constexpr double quarter = std::numbers::pi / 2.0;

INSTANTIATE_TEST_SUITE_P(
    Alignments, TextAlignmentTest,
    ::testing::Values(AlignmentCase{"Left", 0, 0.0, 0.0, 1}, AlignmentCase{"LeftRotated", 0, quarter, 0.0, 1},
                      AlignmentCase{"Center", 1, 0.0, 0.5, 1}, AlignmentCase{"Right", 2, 0.0, 1.0, 1},
                      AlignmentCase{"RightRotated", 2, quarter, 1.0, 1}, AlignmentCase{"Middle", 4, 0.0, 0.5, 2},
                      AlignmentCase{"TopLeft", 6, 0.0, 0.0, 3}, AlignmentCase{"TopRight", 8, 0.3, 1.0, 3},
                      AlignmentCase{"MiddleCenter", 10, 0.0, 0.5, 2},
                      AlignmentCase{"MiddleCenterRotated", 10, -1.0, 0.5, 2},
                      AlignmentCase{"BottomLeft", 12, 0.0, 0.0, 0}, AlignmentCase{"BottomRight", 14, 0.0, 1.0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextLayout, HeightIsTheCapHeightAndWidthGrowsWithTheString)
{
    TextLayout layout;
    const PlacedText short_ = layout.place(u"W-01", {}, {}, 0, 2.5, 0.0);
    const PlacedText long_ = layout.place(u"W-01 W-01", {}, {}, 0, 2.5, 0.0);
    const PlacedText tall = layout.place(u"W-01", {}, {}, 0, 5.0, 0.0);
    const double shortWidth = QLineF(short_.outline[BaseStart], short_.outline[BaseEnd]).length();
    EXPECT_GT(QLineF(long_.outline[BaseStart], long_.outline[BaseEnd]).length(), 2.0 * shortWidth);
    EXPECT_NEAR(QLineF(tall.outline[BaseStart], tall.outline[BaseEnd]).length(), 2.0 * shortWidth, 1e-6);
    // The font's capital letters are as high as the text height says.
    const QPointF capTop = short_.fontToWorld.map(QPointF(0.0, -QFontMetricsF(layout.font()).capHeight()));
    EXPECT_NEAR(capTop.y(), 2.5, 1e-6);
}

TEST(TextLayout, AlignedAndFitRunFromInsertionToAlignmentPoint)
{
    TextLayout layout;
    const Point3 from{0.0, 0.0, 0.0};
    const Point3 to{30.0, 40.0, 0.0};
    for (int alignment : {3, 5}) {
        SCOPED_TRACE(alignment);
        const PlacedText text = layout.place(u"ABC", from, to, alignment, 2.5, 0.0);
        EXPECT_NEAR(text.outline[BaseEnd].x() - text.outline[BaseStart].x(), 30.0, 1e-6);
        EXPECT_NEAR(text.outline[BaseEnd].y() - text.outline[BaseStart].y(), 40.0, 1e-6);
    }
}

TEST(TextLayout, TextsWithoutAPlaceInThePlaneAreLeftOut)
{
    TextLayout layout;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const PlacedText cases[] = {
        layout.place(u"X", {nan, 0, 0}, {}, 0, 2.5, 0.0),
        layout.place(u"X", {0, 0, 0}, {0, inf, 0}, 1, 2.5, 0.0),
        layout.place(u"X", {}, {}, 0, inf, 0.0),
        layout.place(u"X", {}, {}, 0, 2.5, nan),
    };
    for (const PlacedText& text : cases) {
        EXPECT_TRUE(text.string.isEmpty());
        EXPECT_TRUE(text.outline.isEmpty());
    }
}

}  // namespace
}  // namespace kelvocad
