#include "kelvocad/app/DrawingView.h"

#include "kelvocad/model/Drawing.h"
#include "kelvocad/model/SelectionFilter.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QResizeEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace kelvocad {

namespace {

// Below this many pixels of text height a text is drawn as its baseline only.
constexpr double smallestReadableHeight = 3.0;
constexpr double crossHalfSize = 4.0;
constexpr double zoomStep = 1.2;  // per wheel notch
constexpr double smallestViewHeight = 1e-3;
constexpr double largestViewHeight = 1e7;
// A left press and release closer than this is a click, further apart a window.
constexpr int dragThreshold = 4;
// A repaint after a change of the drawing waits at least this long, and four times as long as
// the last rebuild of the picture took, so a stream of changes from a client spends at most
// a fifth of its time rebuilding however large the drawing. A regen, a view change, another
// drawing and the user's own undo repaint at once.
constexpr qint64 shortestChangeRepaintMs = 50;
constexpr qint64 longestChangeRepaintMs = 30000;

}  // namespace

DrawingView::DrawingView(std::shared_ptr<CadSession> session, QWidget* parent)
    : QWidget(parent), session_(std::move(session))
{
    setObjectName(QStringLiteral("drawingView"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
    changeRepaint_.setSingleShot(true);
    connect(&changeRepaint_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    session_->setEventListener([this](SessionEvent event) { onSessionEvent(event); });
}

DrawingView::~DrawingView()
{
    session_->setEventListener({});
}

ViewTransform DrawingView::viewTransform() const
{
    const ViewState& view = session_->view();
    return ViewTransform(view.center, view.height, width(), height());
}

const DrawingShapes& DrawingView::shapes()
{
    const Drawing& drawing = session_->drawing();
    if (shapesDirty_ || shapesDrawing_ != &drawing || shapesRevision_ != drawing.revision()) {
        QElapsedTimer building;
        building.start();
        shapes_.build(drawing, layout_);
        lastBuildMs_ = building.elapsed();
        shapesDrawing_ = &drawing;
        shapesRevision_ = drawing.revision();
        shapesDirty_ = false;
    }
    return shapes_;
}

void DrawingView::onSessionEvent(SessionEvent event)
{
    // Whatever was drawn over the view belongs to the picture it was drawn on.
    clearMarker();
    if (event != SessionEvent::ViewChanged)
        shapesDirty_ = true;
    if (event == SessionEvent::ViewChanged || event == SessionEvent::Regen || &session_->drawing() != shapesDrawing_) {
        showChangesNow();
    } else if (!changeRepaint_.isActive()) {
        changeRepaint_.start(
            static_cast<int>(std::clamp(4 * lastBuildMs_, shortestChangeRepaintMs, longestChangeRepaintMs)));
    }
    emit sessionEvent(event);
}

void DrawingView::showChangesNow()
{
    changeRepaint_.stop();
    update();
}

// --- picking ---------------------------------------------------------------------------

void DrawingView::beginPick(const SelectionFilter& filter)
{
    filter_ = &filter;
    picked_.clear();
    picking_ = true;
    pickCancelled_ = false;
    windowStart_.reset();
    clearMarker();
    setCursor(Qt::CrossCursor);
    setFocus(Qt::OtherFocusReason);
    emit pickSelectionChanged(0);
    update();
}

bool DrawingView::pickable(const EntityShape& shape) const
{
    if (!filter_ || filter_->empty())
        return true;
    const auto& entities = session_->drawing().entities();
    return shape.entityIndex < entities.size() && filter_->matches(entities[shape.entityIndex]);
}

void DrawingView::addToPick(const EntityShape& shape)
{
    if (std::find(picked_.begin(), picked_.end(), shape.handle) != picked_.end())
        return;
    picked_.push_back(shape.handle);
    emit pickSelectionChanged(static_cast<int>(picked_.size()));
    update();
}

void DrawingView::removeFromPick(const EntityShape& shape)
{
    const auto at = std::find(picked_.begin(), picked_.end(), shape.handle);
    if (at == picked_.end())
        return;
    picked_.erase(at);
    emit pickSelectionChanged(static_cast<int>(picked_.size()));
    update();
}

void DrawingView::finishPick()
{
    endPick(false);
}

void DrawingView::cancelPick()
{
    endPick(true);
}

void DrawingView::endPick(bool cancelled)
{
    if (!picking_)
        return;
    picking_ = false;
    pickCancelled_ = cancelled;
    filter_ = nullptr;
    windowStart_.reset();
    hovered_.clear();
    unsetCursor();
    update();
    emit pickEnded();
}

PickResult DrawingView::pickResult() const
{
    PickResult result;
    result.cancelled = pickCancelled_;
    if (!pickCancelled_)
        result.handles = picked_;
    return result;
}

// --- marker and view -------------------------------------------------------------------

void DrawingView::showMarker(const QPolygon& points, int penWidth, const QColor& colour, MarkerMode mode)
{
    marker_ = points;
    markerMode_ = mode;
    // A pen wider than the view would only cost time to draw.
    markerPenWidth_ = std::clamp(penWidth, 1, 64);
    markerColour_ = colour;
    update();
}

void DrawingView::clearMarker()
{
    if (marker_.isEmpty())
        return;
    marker_.clear();
    update();
}

void DrawingView::zoomExtents()
{
    const auto box = shapes().bounds();
    if (!box)
        return;
    const double aspect = static_cast<double>(std::max(width(), 1)) / std::max(height(), 1);
    const double viewHeight = std::max(box->height(), box->width() / aspect) * 1.1;
    session_->zoomCenter({box->center().x(), box->center().y(), 0.0}, std::max(viewHeight, smallestViewHeight));
}

// --- events ----------------------------------------------------------------------------

void DrawingView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    session_->setScreenSize(width(), height());
}

void DrawingView::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0)
        return;
    const ViewTransform view = viewTransform();
    const double newHeight =
        std::clamp(session_->view().height / std::pow(zoomStep, notches), smallestViewHeight, largestViewHeight);
    session_->zoomCenter(view.centerForZoom(event->position(), newHeight), newHeight);
    event->accept();
}

void DrawingView::mousePressEvent(QMouseEvent* event)
{
    switch (event->button()) {
    case Qt::MiddleButton:
        panFrom_ = event->position().toPoint();
        setCursor(Qt::ClosedHandCursor);
        break;
    case Qt::LeftButton:
        if (picking_) {
            windowStart_ = event->position().toPoint();
            windowEnd_ = *windowStart_;
        }
        break;
    case Qt::RightButton:
        if (picking_)
            finishPick();
        break;
    default:
        break;
    }
    event->accept();
}

void DrawingView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (panFrom_) {
        const QPoint delta = at - *panFrom_;
        panFrom_ = at;
        session_->zoomCenter(viewTransform().centerForPan(delta), session_->view().height);
    }
    if (windowStart_) {
        windowEnd_ = at;
        update();
    } else if (picking_) {
        updateHover(at);
    }
}

void DrawingView::updateHover(const QPoint& at)
{
    const auto accept = [this](const EntityShape& shape) { return pickable(shape); };
    const EntityShape* shape = shapes().nearest(viewTransform(), at, pickTolerance, accept);
    std::u16string handle = shape ? shape->handle : std::u16string();
    if (handle != hovered_) {
        hovered_ = std::move(handle);
        update();
    }
}

void DrawingView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::MiddleButton && panFrom_) {
        panFrom_.reset();
        unsetCursor();
    }
    if (event->button() == Qt::LeftButton && windowStart_ && picking_) {
        const QPoint start = *windowStart_;
        windowStart_.reset();
        const ViewTransform view = viewTransform();
        const auto accept = [this](const EntityShape& shape) { return pickable(shape); };
        const bool removing = event->modifiers().testFlag(Qt::ShiftModifier);
        const auto take = [&](const EntityShape& shape) { removing ? removeFromPick(shape) : addToPick(shape); };
        if ((at - start).manhattanLength() < dragThreshold) {
            if (const EntityShape* shape = shapes().nearest(view, start, pickTolerance, accept))
                take(*shape);
        } else {
            // Dragged to the right: only what lies wholly inside; to the left: what it touches.
            const bool crossing = at.x() < start.x();
            for (const EntityShape* shape : shapes().inWindow(view, QRectF(start, at), crossing, accept))
                take(*shape);
        }
        update();
    }
    event->accept();
}

void DrawingView::keyPressEvent(QKeyEvent* event)
{
    if (picking_) {
        switch (event->key()) {
        case Qt::Key_Escape:
            cancelPick();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            finishPick();
            return;
        default:
            break;
        }
    }
    QWidget::keyPressEvent(event);
}

// --- painting --------------------------------------------------------------------------

void DrawingView::paintShape(QPainter& painter, const ViewTransform& view, const EntityShape& shape, bool selected,
                             bool hovered)
{
    const QPalette& colours = palette();
    const QColor normal = colours.color(QPalette::Active, QPalette::Text);
    const QColor locked = colours.color(QPalette::Disabled, QPalette::Text);
    const QColor highlight = colours.color(QPalette::Active, QPalette::Highlight);
    const QRectF visible = QRectF(rect()).adjusted(-2.0, -2.0, 2.0, 2.0);

    for (size_t i = 0; i < shape.texts.size(); ++i) {
        const PlacedText& text = shape.texts[i];
        if (text.string.isEmpty())
            continue;
        const QPolygonF outline = view.worldToScreen().map(text.outline);
        const QRectF bounds = outline.boundingRect();
        if (!bounds.intersects(visible))
            continue;
        const QColor colour = selected ? highlight : (shape.textLocked[i] ? locked : normal);
        if (selected || hovered) {
            painter.setTransform(QTransform());
            QPen box(highlight, 1.0, selected ? Qt::DashLine : Qt::SolidLine);
            painter.setPen(box);
            painter.setBrush(Qt::NoBrush);
            painter.drawPolygon(outline);
        }
        // The distance between baseline and top, on screen.
        const double screenHeight = QLineF(outline[0], outline[3]).length();
        if (screenHeight < smallestReadableHeight) {
            painter.setTransform(QTransform());
            painter.setPen(QPen(colour, 1.0));
            painter.drawLine(QLineF(outline[0], outline[1]));
            continue;
        }
        painter.setTransform(text.fontToWorld * view.worldToScreen());
        painter.fillPath(text.glyphs, colour);
    }
    if (shape.isBlockReference) {
        painter.setTransform(QTransform());
        const QPointF at = view.toScreen(shape.insertionPoint);
        if (visible.contains(at)) {
            const QColor colour = selected ? highlight : (shape.locked ? locked : colours.color(QPalette::Link));
            painter.setPen(QPen(colour, selected ? 2.0 : 1.0));
            painter.drawLine(at - QPointF(crossHalfSize, 0.0), at + QPointF(crossHalfSize, 0.0));
            painter.drawLine(at - QPointF(0.0, crossHalfSize), at + QPointF(0.0, crossHalfSize));
        }
    }
}

void DrawingView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    painter.setRenderHint(QPainter::Antialiasing, true);

    const ViewTransform view = viewTransform();
    const DrawingShapes& all = shapes();
    for (const EntityShape& shape : all.shapes()) {
        const bool selected =
            picking_ && std::find(picked_.begin(), picked_.end(), shape.handle) != picked_.end();
        paintShape(painter, view, shape, selected, picking_ && shape.handle == hovered_);
    }

    painter.setTransform(QTransform());
    if (picking_ && windowStart_ && (windowEnd_ - *windowStart_).manhattanLength() >= dragThreshold) {
        const bool crossing = windowEnd_.x() < windowStart_->x();
        QColor fill = palette().color(QPalette::Highlight);
        fill.setAlpha(40);
        painter.setBrush(fill);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1.0, crossing ? Qt::DashLine : Qt::SolidLine));
        painter.drawRect(QRectF(*windowStart_, windowEnd_).normalized());
    }
    if (!marker_.isEmpty()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(markerColour_, markerPenWidth_, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        if (markerMode_ == MarkerMode::Xor) {
            // Antialiased edges would XOR twice where they overlap.
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        }
        painter.drawPolyline(marker_);
    }
}

}  // namespace kelvocad
