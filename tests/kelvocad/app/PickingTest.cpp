#include "CadWindowFixture.h"

#include "kelvocad/app/WindowServiceHandlers.h"

#include <QLabel>
#include <QMouseEvent>

#include <algorithm>
#include <limits>

namespace kelvocad::test {
namespace {

using Handles = std::vector<std::u16string>;

Variant types(std::initializer_list<int16_t> codes)
{
    return Variant::int16Array(codes);
}

Variant values(std::initializer_list<Variant> items)
{
    return Variant::variantArray(items);
}

class PickingTest : public CadWindowFixture {
protected:
    void click(const std::u16string& handle, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(view(), button, Qt::NoModifier, pointOf(handle));
    }
    void drag(QPoint from, QPoint to)
    {
        QTest::mousePress(view(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(view(), to);
        QTest::mouseRelease(view(), Qt::LeftButton, Qt::NoModifier, to);
    }
    void key(Qt::Key k) { QTest::keyClick(view(), k); }
    // A move with no button down, delivered straight to the view.
    void hover(QPoint at)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), view()->mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(view(), &move);
    }
};

TEST_F(PickingTest, ClicksThenEnterReturnHandlesInPickOrder)
{
    const QString idle = QStringLiteral("コマンド:");
    const QString picking = QStringLiteral("オブジェクトを選択: クリックまたは窓で指定、Enter/右クリックで確定、Esc で取消"
                                           "  (Select objects: Enter or right-click ends, Esc cancels)");
    EXPECT_EQ(window->promptLine()->text(), idle);
    QStringList promptsDuringPick;
    const auto picked = pick([&] {
        promptsDuringPick << window->promptLine()->text();
        click(far);
        promptsDuringPick << window->promptLine()->text();
        click(tag);
        click(left);
        click(far);  // a second click on a picked entity adds nothing
        promptsDuringPick << window->promptLine()->text();
        key(Qt::Key_Return);
    });
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(*picked, (Handles{far, tag, left}));
    EXPECT_EQ(promptsDuringPick,
              (QStringList{picking, picking + QStringLiteral("  — 1 個選択"), picking + QStringLiteral("  — 3 個選択")}));
    EXPECT_EQ(window->promptLine()->text(), idle);
}

TEST_F(PickingTest, ShiftTakesEntitiesOutOfThePickAgain)
{
    const auto picked = pick([&] {
        drag(QPoint(399, 1), QPoint(1, 299));  // everything
        QTest::mouseClick(view(), Qt::LeftButton, Qt::ShiftModifier, pointOf(middle));
        QTest::mouseClick(view(), Qt::LeftButton, Qt::ShiftModifier, pointOf(tag));
        click(middle);  // back in, now last
        key(Qt::Key_Return);
    });
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(*picked, (Handles{left, far, middle}));
}

TEST_F(PickingTest, ADamagedTextIsNeitherDrawnNorPicked)
{
    TextEntity broken = text(u"BROKEN", std::numeric_limits<double>::quiet_NaN(), 40.0);
    const std::u16string handle = session->drawing().addText(broken);
    session->notify(SessionEvent::Regen);
    view()->grab();  // paints without tripping over it
    const auto picked = pick([&] {
        drag(QPoint(399, 1), QPoint(1, 299));
        key(Qt::Key_Return);
    });
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(std::count(picked->begin(), picked->end(), handle), 0);
    EXPECT_EQ(picked->size(), 4u);
}

TEST_F(PickingTest, HoveringShowsWhatAClickWouldPick)
{
    std::vector<std::u16string> hovered;
    pick(
        [&] {
            for (const auto& handle : {far, tag, left})
            {
                hover(pointOf(handle));
                hovered.push_back(view()->hoveredHandle());
            }
            hover(QPoint(395, 295));
            hovered.push_back(view()->hoveredHandle());
            key(Qt::Key_Escape);
        },
        types({0}), values({Variant(u"TEXT")}));
    // The block reference does not pass the filter.
    EXPECT_EQ(hovered, (Handles{far, u"", left, u""}));
    EXPECT_TRUE(view()->hoveredHandle().empty());
}

TEST_F(PickingTest, ClickOnEmptySpaceOrFarFromEverythingPicksNothing)
{
    const auto picked = pick([&] {
        QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, QPoint(390, 290));
        // Just outside the click tolerance to the left of "LEFT".
        const QPoint nearLeft = view()->viewTransform().toScreen(10.0, 61.0).toPoint() -
                                QPoint(static_cast<int>(DrawingView::pickTolerance) + 3, 0);
        QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, nearLeft);
        key(Qt::Key_Enter);
    });
    ASSERT_TRUE(picked.has_value());
    EXPECT_TRUE(picked->empty());
}

TEST_F(PickingTest, WindowToTheRightTakesWhatIsInsideToTheLeftWhatItTouches)
{
    // A rectangle that holds all of "LEFT" and "FAR" but only the start of "MIDDLE".
    const ViewTransform t = view()->viewTransform();
    const QPoint topLeft = t.toScreen(5.0, 70.0).toPoint();
    const QPoint bottomRight = t.toScreen(33.0, 25.0).toPoint();
    const QPoint topRight(bottomRight.x(), topLeft.y());
    const QPoint bottomLeft(topLeft.x(), bottomRight.y());

    const auto inside = pick([&] {
        drag(topLeft, bottomRight);
        key(Qt::Key_Return);
    });
    ASSERT_TRUE(inside.has_value());
    EXPECT_EQ(*inside, (Handles{left, far}));

    const auto crossing = pick([&] {
        drag(topRight, bottomLeft);
        key(Qt::Key_Return);
    });
    ASSERT_TRUE(crossing.has_value());
    EXPECT_EQ(*crossing, (Handles{left, middle, far}));
}

TEST_F(PickingTest, OnlyWhatPassesTheFilterCanBePicked)
{
    struct Case {
        const char* name;
        Variant types;
        Variant values;
        Handles expected;
    };
    const Case cases[] = {
        {"TextOnly", types({0}), values({Variant(u"TEXT")}), {left, far}},
        {"InsertOnly", types({0}), values({Variant(u"INSERT")}), {tag}},
        {"TextPattern", types({0, 1}), values({Variant(u"TEXT"), Variant(u"F*")}), {far}},
        {"BlockName", types({0, 2}), values({Variant(u"INSERT"), Variant(u"tag")}), {tag}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // What the window shows as picked is already filtered, not only what the call returns.
        Handles shownAsPicked;
        const auto picked = pick(
            [&] {
                click(left);
                click(tag);
                click(far);
                shownAsPicked = view()->pickedHandles();
                key(Qt::Key_Return);
            },
            c.types, c.values);
        ASSERT_TRUE(picked.has_value());
        EXPECT_EQ(*picked, c.expected);
        EXPECT_EQ(shownAsPicked, c.expected);
    }
}

TEST_F(PickingTest, WindowRespectsTheFilterToo)
{
    const auto picked = pick(
        [&] {
            drag(QPoint(399, 1), QPoint(1, 299));
            key(Qt::Key_Return);
        },
        types({0}), values({Variant(u"INSERT")}));
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(*picked, (Handles{tag}));
}

TEST_F(PickingTest, EndingAndCancelling)
{
    WindowServiceHandlers services(window.get());
    struct Case {
        const char* name;
        std::function<void()> end;
        bool cancelled;
    };
    const Case cases[] = {
        {"RightClick", [&] { QTest::mouseClick(view(), Qt::RightButton, Qt::NoModifier, QPoint(5, 5)); }, false},
        {"Space", [&] { key(Qt::Key_Space); }, false},
        {"EscapeKey", [&] { key(Qt::Key_Escape); }, true},
        {"EscapeService", [&] { EXPECT_TRUE(services.handle(u"escape", {}).toBool()); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto picked = pick([&] {
            click(middle);
            c.end();
        });
        EXPECT_EQ(picked.has_value(), !c.cancelled);
        if (picked) {
            EXPECT_EQ(*picked, (Handles{middle}));
        }
        EXPECT_FALSE(view()->isPicking());
    }
    // Escape with no pick running has nothing to cancel.
    EXPECT_FALSE(services.handle(u"Escape", {}).toBool());
}

TEST_F(PickingTest, ClosingTheWindowCancelsThePick)
{
    const auto picked = pick([&] {
        click(left);
        window->close();
    });
    EXPECT_FALSE(picked.has_value());
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(view()->isPicking());
}

TEST_F(PickingTest, DestroyingTheWindowCancelsThePickAndLaterPicksFail)
{
    const auto picked = pick([&] { window.reset(); });
    EXPECT_FALSE(picked.has_value());
    // The session keeps the picker of a window that is gone: every pick is cancelled.
    EXPECT_FALSE(pick([] {}).has_value());
}

TEST_F(PickingTest, SelectionIsHighlightedWhilePicking)
{
    QImage before;
    QImage during;
    const QPoint at = pointOf(left);
    pick([&] {
        before = view()->grab().toImage();
        click(left);
        during = view()->grab().toImage();
        key(Qt::Key_Escape);
    });
    const QColor highlight = view()->palette().color(QPalette::Highlight);
    auto countHighlight = [&](const QImage& image) {
        int n = 0;
        for (int y = at.y() - 15; y <= at.y() + 15; ++y)
            for (int x = at.x() - 40; x <= at.x() + 40; ++x)
                n += image.pixelColor(x, y) == highlight;
        return n;
    };
    EXPECT_EQ(countHighlight(before), 0);
    EXPECT_GT(countHighlight(during), 10);
}

TEST_F(PickingTest, PlannedPicksAnswerWithoutTheUser)
{
    WindowServiceHandlers services(window.get());
    const Variant planned = Variant::variantArray({Variant(far), Variant(tag), Variant(left)});
    EXPECT_EQ(services.handle(u"NextPickReturns", std::vector<Variant>{planned}).toInt(), 1);
    EXPECT_EQ(services.handle(u"NextPickIsCancelled", {}).toInt(), 2);
    bool userWasAsked = false;
    // Runs after the pick has started, or, for a pick that never waits, at some later pick.
    const auto noUser = [&] {
        if (view()->isPicking()) {
            userWasAsked = true;
            key(Qt::Key_Escape);
        }
    };
    // The filter still applies to a planned answer.
    const auto first = pick(noUser, types({0}), values({Variant(u"TEXT")}));
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(*first, (Handles{far, left}));
    EXPECT_FALSE(pick(noUser).has_value());
    EXPECT_FALSE(userWasAsked);
    // With the plan used up, the user is asked again.
    pick(noUser);
    EXPECT_TRUE(userWasAsked);
    EXPECT_THROW(services.handle(u"NextPickReturns", std::vector<Variant>{Variant(u"12")}), automation::AutomationError);
}

}  // namespace
}  // namespace kelvocad::test
