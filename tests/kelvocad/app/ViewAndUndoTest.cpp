#include "CadWindowFixture.h"

#include "kelvocad/app/WindowServiceHandlers.h"

#include <QAction>
#include <QWheelEvent>

namespace kelvocad::test {
namespace {

class ViewAndUndoTest : public CadWindowFixture {
protected:
    QPointF widgetCentre() const { return QPointF(view()->width() / 2.0, view()->height() / 2.0); }

    std::u16string stringOf(const std::u16string& handle) const
    {
        return session->drawing().findText(handle)->string;
    }
    void write(const std::u16string& handle, const std::u16string& value)
    {
        doc->call(u"HandleToObject", {Variant(handle)}).toObject()->put(u"TextString", Variant(value));
    }
    void pressUndo() { QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier); }
};

TEST_F(ViewAndUndoTest, ZoomCenterMovesTheViewAndViewSizeFollows)
{
    app->call(u"ZoomCenter", {Variant::point(62.0, 20.0), Variant(30.0)});
    const ViewTransform t = view()->viewTransform();
    const QPointF at = t.toScreen(62.0, 20.0);
    EXPECT_NEAR(at.x(), widgetCentre().x(), 1e-9);
    EXPECT_NEAR(at.y(), widgetCentre().y(), 1e-9);
    EXPECT_DOUBLE_EQ(t.scale(), view()->height() / 30.0);
    EXPECT_DOUBLE_EQ(doc->call(u"GetVariable", {Variant(u"VIEWSIZE")}).toDouble(), 30.0);
}

TEST_F(ViewAndUndoTest, ScreenSizeIsTheViewsSizeAfterAResize)
{
    for (const QSize size : {QSize(400, 300), QSize(640, 480), QSize(333, 201)}) {
        SCOPED_TRACE(size.width());
        view()->setFixedSize(size);
        QCoreApplication::processEvents();
        const Variant screen = doc->call(u"GetVariable", {Variant(u"SCREENSIZE")});
        EXPECT_EQ(screen.at(0).toInt(), size.width());
        EXPECT_EQ(screen.at(1).toInt(), size.height());
    }
}

TEST_F(ViewAndUndoTest, WheelZoomsAroundTheCursor)
{
    const QPointF cursor(60.0, 250.0);
    const Point3 under = view()->viewTransform().toWorld(cursor);
    const double before = session->view().height;
    QWheelEvent wheel(cursor, view()->mapToGlobal(cursor), QPoint(), QPoint(0, 240), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view(), &wheel);
    EXPECT_NEAR(session->view().height, before / 1.44, 1e-9);
    const QPointF after = view()->viewTransform().toScreen(under);
    EXPECT_NEAR(after.x(), cursor.x(), 1e-6);
    EXPECT_NEAR(after.y(), cursor.y(), 1e-6);
}

TEST_F(ViewAndUndoTest, MiddleDragPans)
{
    const QPointF before = view()->viewTransform().toScreen(10.0, 60.0);
    QTest::mousePress(view(), Qt::MiddleButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseMove(view(), QPoint(130, 80));
    QTest::mouseRelease(view(), Qt::MiddleButton, Qt::NoModifier, QPoint(130, 80));
    const QPointF after = view()->viewTransform().toScreen(10.0, 60.0);
    EXPECT_NEAR(after.x() - before.x(), 30.0, 1e-6);
    EXPECT_NEAR(after.y() - before.y(), -20.0, 1e-6);
}

TEST_F(ViewAndUndoTest, ZoomExtentsBringsEverythingIntoSight)
{
    app->call(u"ZoomCenter", {Variant::point(-500.0, 900.0), Variant(2.0)});
    view()->zoomExtents();
    const ViewTransform t = view()->viewTransform();
    const QRectF visible(0.0, 0.0, view()->width(), view()->height());
    for (const EntityShape& shape : view()->shapes().shapes()) {
        SCOPED_TRACE(std::string(shape.handle.begin(), shape.handle.end()));
        EXPECT_TRUE(visible.contains(t.toScreen(shape.insertionPoint)));
        for (const PlacedText& text : shape.texts) {
            for (const QPointF& corner : t.worldToScreen().map(text.outline))
                EXPECT_TRUE(visible.contains(corner));
        }
    }
}

TEST_F(ViewAndUndoTest, CtrlZUndoesOneUndoGroup)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    write(left, u"A1");
    doc->call(u"StartUndoMark");
    write(middle, u"M1");
    write(far, u"F1");
    write(middle, u"M2");
    doc->call(u"EndUndoMark");

    pressUndo();
    EXPECT_EQ(stringOf(middle), u"MIDDLE");
    EXPECT_EQ(stringOf(far), u"FAR");
    EXPECT_EQ(stringOf(left), u"A1");
    // The view redraws from the drawing as it is now.
    EXPECT_EQ(view()->shapes().find(middle)->texts[0].string, QStringLiteral("MIDDLE"));

    pressUndo();
    EXPECT_EQ(stringOf(left), u"LEFT");
    // Nothing left to undo.
    EXPECT_FALSE(window->undoLastStep());
}

TEST_F(ViewAndUndoTest, UndoWaitsWhileAPickRuns)
{
    write(left, u"A1");
    bool undoneDuringPick = true;
    pick([&] {
        undoneDuringPick = window->undoLastStep();
        QTest::keyClick(view(), Qt::Key_Escape);
    });
    EXPECT_FALSE(undoneDuringPick);
    EXPECT_EQ(stringOf(left), u"A1");
}

class MarkerTest : public ViewAndUndoTest {
protected:
    // The triangle of a 400-pixel-wide view: tip at the centre, base 20 pixels to the left.
    Variant triangle() const
    {
        return Variant::variantArray({Variant(200), Variant(150), Variant(180), Variant(140), Variant(180),
                                      Variant(160), Variant(200), Variant(150)});
    }
    bool markerColourAt(const QPoint& pixel) const
    {
        return view()->grab().toImage().pixelColor(pixel) == QColor(255, 100, 100);
    }
    Variant drawMarker(WindowServiceHandlers& services, bool xorMode = false)
    {
        const int32_t colorRef = 255 | (100 << 8) | (100 << 16);
        return services.handle(u"DrawMarker", std::vector<Variant>{Variant(session->documentWindow), triangle(),
                                                                    Variant(3), Variant(colorRef), Variant(xorMode)});
    }
};

TEST_F(MarkerTest, DrawnOverTheViewUntilTheNextChange)
{
    WindowServiceHandlers services(window.get());
    const QPoint onBase(180, 150);
    ASSERT_FALSE(markerColourAt(onBase));

    EXPECT_TRUE(drawMarker(services).toBool());
    EXPECT_TRUE(view()->hasMarker());
    EXPECT_TRUE(markerColourAt(onBase));

    // A change of the view is a repaint of everything: the marker is gone.
    app->call(u"ZoomCenter", {Variant::point(10.0, 60.0), Variant(75.0)});
    EXPECT_FALSE(view()->hasMarker());
    EXPECT_FALSE(markerColourAt(onBase));

    // So is a change of the drawing.
    drawMarker(services);
    write(left, u"CHANGED");
    EXPECT_FALSE(view()->hasMarker());
}

TEST_F(MarkerTest, XorModeInvertsThePenColourOntoThePicture)
{
    WindowServiceHandlers services(window.get());
    const QPoint onBase(180, 150);
    const QColor background = view()->grab().toImage().pixelColor(onBase);
    drawMarker(services, true);
    const QColor drawn = view()->grab().toImage().pixelColor(onBase);
    EXPECT_EQ(drawn.red(), background.red() ^ 255);
    EXPECT_EQ(drawn.green(), background.green() ^ 100);
    EXPECT_EQ(drawn.blue(), background.blue() ^ 100);
}

TEST_F(MarkerTest, MalformedRequestsFailWithoutDrawing)
{
    WindowServiceHandlers services(window.get());
    const std::vector<std::vector<Variant>> requests = {
        {},
        {Variant(1), Variant(2), Variant(3)},
        {Variant(1), Variant(u"points"), Variant(3), Variant(255)},
        {Variant(1), Variant::variantArray({Variant(1), Variant(2), Variant(3)}), Variant(3), Variant(255)},
    };
    for (size_t i = 0; i < requests.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_THROW(services.handle(u"DrawMarker", requests[i]), automation::AutomationError);
        EXPECT_FALSE(view()->hasMarker());
    }
}

TEST_F(ViewAndUndoTest, WindowServicesRestoreAndReportTheWindowState)
{
    WindowServiceHandlers services(window.get());
    window->showMinimized();
    QCoreApplication::processEvents();
    EXPECT_TRUE(services.handle(u"IsIconic", std::vector<Variant>{Variant(session->applicationWindow)}).toBool());
    services.handle(u"Restore", std::vector<Variant>{Variant(session->applicationWindow)});
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->isMinimized());
    EXPECT_FALSE(services.handle(u"IsIconic", {}).toBool());

    const bool front = services.handle(u"BringToFront", {}).toBool();
    EXPECT_EQ(front, window->isActiveWindow());
    EXPECT_EQ(services.handle(u"IsForeground", {}).toBool(), window->isActiveWindow());
    EXPECT_EQ(services.handle(u"ForegroundWindow", {}).toInt(),
              window->isActiveWindow() ? session->applicationWindow : 0);
    EXPECT_THROW(services.handle(u"NoSuchService", {}), automation::AutomationError);
}

TEST_F(ViewAndUndoTest, WindowHandlesArePublishedAndTheTitleNamesTheDocument)
{
    EXPECT_EQ(session->applicationWindow, static_cast<int32_t>(window->winId()));
    EXPECT_EQ(session->documentWindow, static_cast<int32_t>(view()->winId()));
    EXPECT_EQ(app->get(u"HWND").toInt(), session->applicationWindow);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("KelvoCAD - Sample.dxf"));
}

TEST_F(ViewAndUndoTest, AnotherDrawingIsShownUnderItsName)
{
    auto other = std::make_shared<Drawing>();
    const std::u16string only = other->addText(text(u"ONLY", 0.0, 0.0));
    session->documentName = u"Other.dxf";
    session->replaceDrawing(other);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("KelvoCAD - Other.dxf"));
    ASSERT_EQ(view()->shapes().shapes().size(), 1u);
    EXPECT_EQ(view()->shapes().shapes()[0].handle, only);
}

}  // namespace
}  // namespace kelvocad::test
