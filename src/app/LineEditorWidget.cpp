#include "app/LineEditorWidget.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>

namespace app {

class LineEditorWidget::Gutter : public QWidget {
public:
    explicit Gutter(LineEditorWidget* editor) : QWidget(editor), editor_(editor) {}

    QSize sizeHint() const override { return {editor_->gutterWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { editor_->paintGutter(event); }

private:
    LineEditorWidget* editor_;
};

namespace {
constexpr int kGutterPadding = 4;
}

LineEditorWidget::LineEditorWidget(QWidget* parent) : QPlainTextEdit(parent), gutter_(new Gutter(this))
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    // A tab key types a tab: the lines may hold tabs.
    setTabChangesFocus(false);
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { updateGutterWidth(); });
    connect(this, &QPlainTextEdit::updateRequest, this, &LineEditorWidget::updateGutter);
    updateGutterWidth();
}

int LineEditorWidget::gutterWidth() const
{
    int digits = 1;
    for (int max = qMax(1, blockCount()); max >= 10; max /= 10)
        ++digits;
    digits = qMax(digits, 2);
    return 2 * kGutterPadding + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

void LineEditorWidget::updateGutterWidth()
{
    setViewportMargins(gutterWidth(), 0, 0, 0);
}

void LineEditorWidget::updateGutter(const QRect& rect, int dy)
{
    if (dy != 0)
        gutter_->scroll(0, dy);
    else
        gutter_->update(0, rect.y(), gutter_->width(), rect.height());
    if (rect.contains(viewport()->rect()))
        updateGutterWidth();
}

void LineEditorWidget::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    placeGutter();
}

void LineEditorWidget::placeGutter()
{
    const QRect area = contentsRect();
    gutter_->setGeometry(QRect(area.left(), area.top(), gutterWidth(), area.height()));
}

void LineEditorWidget::changeEvent(QEvent* event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateGutterWidth();
        placeGutter();
    }
}

void LineEditorWidget::paintGutter(QPaintEvent* event)
{
    QPainter painter(gutter_);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.setFont(font());

    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    int bottom = top + qRound(blockBoundingRect(block).height());
    const int textWidth = gutter_->width() - kGutterPadding;
    while (block.isValid() && top <= event->rect().bottom()) {
        if (block.isVisible() && bottom >= event->rect().top()) {
            painter.drawText(0, top, textWidth, fontMetrics().height(), Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        }
        block = block.next();
        top = bottom;
        bottom = top + qRound(blockBoundingRect(block).height());
    }
}

}  // namespace app
