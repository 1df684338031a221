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
#include <unordered_set>
#include <utility>

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
// the last repaint took, so a stream of changes from a client spends at most a fifth of its
// time repainting however large the drawing. A regen, a view change, another drawing and
// the user's own undo repaint at once.
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
    if (!showsCurrentDrawing()) {
        shapes_.build(drawing, layout_);
        shapesDrawing_ = session_->drawingPtr();
        shapesRevision_ = drawing.revision();
    } else if (shapesRevision_ != drawing.revision()) {
        shapes_.update(drawing, layout_, shapesRevision_);
        shapesRevision_ = drawing.revision();
    }
    return shapes_;
}

bool DrawingView::showsCurrentDrawing() const
{
    // By ownership rather than address: another drawing may come to lie where a closed one was.
    return !shapesDrawing_.expired() && shapesDrawing_.lock() == session_->drawingPtr();
}

void DrawingView::onSessionEvent(SessionEvent event)
{
    // Whatever was drawn over the view belongs to the picture it was drawn on.
    clearMarker();
    if (event == SessionEvent::ViewChanged || event == SessionEvent::Regen || !showsCurrentDrawing()) {
        showChangesNow();
    } else if (!changeRepaint_.isActive()) {
        changeRepaint_.start(
            static_cast<int>(std::clamp(4 * lastRepaintMs_, shortestChangeRepaintMs, longestChangeRepaintMs)));
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

void DrawingView::paintShape(QPainter& painter, PaintContext& context, const EntityShape& shape,
                             bool selected, bool hovered)
{
    const QTransform& toScreen = context.view.worldToScreen();
    for (const PlacedText& text : shape.texts) {
        if (text.string.isEmpty())
            continue;
        const QPointF baseStart = toScreen.map(text.outline[0]);
        const QPointF baseEnd = toScreen.map(text.outline[1]);
        const QPointF topEnd = toScreen.map(text.outline[2]);
        const QPointF topStart = toScreen.map(text.outline[3]);
        const QRectF bounds(QPointF(std::min({baseStart.x(), baseEnd.x(), topEnd.x(), topStart.x()}),
                                    std::min({baseStart.y(), baseEnd.y(), topEnd.y(), topStart.y()})),
                            QPointF(std::max({baseStart.x(), baseEnd.x(), topEnd.x(), topStart.x()}),
                                    std::max({baseStart.y(), baseEnd.y(), topEnd.y(), topStart.y()})));
        if (!bounds.intersects(context.visible))
            continue;
        const QColor& colour = selected ? context.highlight : (text.locked ? context.locked : context.normal);
        if (selected || hovered) {
            painter.setTransform(QTransform());
            QPen box(context.highlight, 1.0, selected ? Qt::DashLine : Qt::SolidLine);
            painter.setPen(box);
            painter.setBrush(Qt::NoBrush);
            painter.drawPolygon(QPolygonF(QVector<QPointF>{baseStart, baseEnd, topEnd, topStart}));
        }
        // The distance between baseline and top, on screen.
        const double screenHeight = QLineF(baseStart, topStart).length();
        if (screenHeight < smallestReadableHeight) {
            // Drawn together once every entity has been seen: a whole drawing in sight is
            // mostly such lines, and one call each would make most of a repaint.
            if (selected) {
                painter.setTransform(QTransform());
                painter.setPen(QPen(colour, 1.0));
                painter.drawLine(QLineF(baseStart, baseEnd));
            } else {
                (text.locked ? context.lockedBaselines : context.baselines).append(QLineF(baseStart, baseEnd));
            }
            continue;
        }
        painter.setTransform(text.fontToWorld * toScreen);
        painter.fillPath(layout_.glyphs(text.string), colour);
    }
    if (shape.isBlockReference) {
        const QPointF at = context.view.toScreen(shape.insertionPoint);
        if (context.visible.contains(at)) {
            painter.setTransform(QTransform());
            const QColor& colour = selected ? context.highlight : (shape.locked ? context.locked : context.link);
            painter.setPen(QPen(colour, selected ? 2.0 : 1.0));
            painter.drawLine(at - QPointF(crossHalfSize, 0.0), at + QPointF(crossHalfSize, 0.0));
            painter.drawLine(at - QPointF(0.0, crossHalfSize), at + QPointF(0.0, crossHalfSize));
        }
    }
}

void DrawingView::paintEvent(QPaintEvent* event)
{
    QElapsedTimer painting;
    painting.start();
    paintPicture(event);
    lastRepaintMs_ = painting.elapsed();
    longestRepaintMs_ = std::max(longestRepaintMs_, lastRepaintMs_);
}

qint64 DrawingView::takeLongestRepaintMs()
{
    return std::exchange(longestRepaintMs_, 0);
}

void DrawingView::paintPicture(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    painter.setRenderHint(QPainter::Antialiasing, true);

    const QPalette& colours = palette();
    PaintContext context{viewTransform(),
                         QRectF(rect()).adjusted(-2.0, -2.0, 2.0, 2.0),
                         colours.color(QPalette::Active, QPalette::Text),
                         colours.color(QPalette::Disabled, QPalette::Text),
                         colours.color(QPalette::Active, QPalette::Highlight),
                         colours.color(QPalette::Link),
                         {},
                         {}};
    // A set, so that a pick of many entities does not make every shape search the list.
    std::unordered_set<std::u16string> picked;
    if (picking_)
        picked.insert(picked_.begin(), picked_.end());
    const DrawingShapes& all = shapes();
    for (const EntityShape& shape : all.shapes()) {
        const bool selected = picking_ && picked.count(shape.handle) != 0;
        paintShape(painter, context, shape, selected, picking_ && shape.handle == hovered_);
    }
    painter.setTransform(QTransform());
    painter.setPen(QPen(context.normal, 1.0));
    painter.drawLines(context.baselines);
    painter.setPen(QPen(context.locked, 1.0));
    painter.drawLines(context.lockedBaselines);

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
