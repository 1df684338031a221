#include "ui/LineEditorWidget.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace ui {

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
// A long load goes in slices of about this many characters.
constexpr qsizetype kLoadSlice = 16 * 1024;
// Block state of a line the user has edited since it was loaded.
constexpr int kEdited = 1;

bool isTrailingSpace(QChar c)
{
    return c == u' ' || c == u'\t';
}

// The length of the text without its trailing spaces and tabs.
int lengthWithoutTrailingSpaces(const QString& text)
{
    int n = static_cast<int>(text.size());
    while (n > 0 && isTrailingSpace(text[n - 1]))
        --n;
    return n;
}

QString textAsRead(const QTextBlock& block)
{
    QString text = block.text();
    if (block.userState() == kEdited)
        text.truncate(lengthWithoutTrailingSpaces(text));
    return text;
}

}  // namespace

LineEditorWidget::LineEditorWidget(QWidget* parent) : QPlainTextEdit(parent), gutter_(new Gutter(this))
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    // A tab key types a tab: the lines may hold tabs.
    setTabChangesFocus(false);
    // Not reached with the Tab key: Tab is typed into the text.
    setFocusPolicy(Qt::ClickFocus);
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { updateGutterWidth(); });
    connect(this, &QPlainTextEdit::updateRequest, this, &LineEditorWidget::updateGutter);
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { markEdited(position, added); });
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &LineEditorWidget::caretMoved);
    caretBlock_ = QTextCursor(document());
    updateGutterWidth();
}

int LineEditorWidget::lineCount() const
{
    if (document()->isEmpty())
        return oneEmptyLine_ ? 1 : 0;
    return blockCount();
}

QString LineEditorWidget::lineText(int index) const
{
    const QTextBlock block = document()->findBlockByNumber(index);
    if (index < 0 || index >= lineCount() || !block.isValid())
        return {};
    return textAsRead(block);
}

QStringList LineEditorWidget::lines() const
{
    const int count = lineCount();
    if (count == 0)
        return {};
    // The document's whole text in one copy is far cheaper than asking each line for its own.
    // Raw, because the plain text turns no-break spaces and line separators into others.
    QStringList all = document()->toRawText().split(QChar::ParagraphSeparator);
    all.resize(count);
    QTextBlock block = document()->firstBlock();
    for (int i = 0; i < count && block.isValid(); ++i, block = block.next()) {
        if (block.userState() == kEdited)
            all[i].truncate(lengthWithoutTrailingSpaces(all[i]));
    }
    return all;
}

void LineEditorWidget::loadText(const QString& text)
{
    load(text, false);
}

void LineEditorWidget::loadLines(const QStringList& lines)
{
    load(lines.join(u'\n'), lines.size() == 1 && lines.front().isEmpty());
}

void LineEditorWidget::load(const QString& text, bool oneEmptyLine)
{
    const unsigned loadNumber = ++loadNumber_;
    qsizetype firstSliceEnd = text.size();
    if (loadPause_ && text.size() > kLoadSlice) {
        firstSliceEnd = text.indexOf(u'\n', kLoadSlice);
        if (firstSliceEnd < 0)
            firstSliceEnd = text.size();
    }
    loading_ = true;
    setUpdatesEnabled(false);
    setPlainText(firstSliceEnd == text.size() ? text : text.left(firstSliceEnd));
    setUpdatesEnabled(true);
    if (firstSliceEnd < text.size())
        appendLoadedSlices(text, firstSliceEnd, loadNumber);
    if (loadNumber != loadNumber_)
        return;  // the later load has set everything
    document()->setUndoRedoEnabled(true);
    loading_ = false;
    oneEmptyLine_ = oneEmptyLine;
    caretBlock_ = QTextCursor(document());
}

void LineEditorWidget::appendLoadedSlices(const QString& text, qsizetype from, unsigned loadNumber)
{
    // Appended text must not become undoable edits; disabling also keeps the history empty.
    document()->setUndoRedoEnabled(false);
    QElapsedTimer sincePause;
    sincePause.start();
    QTextCursor end(document());
    while (from < text.size()) {
        if (sincePause.elapsed() >= loadPauseEveryMs_) {
            loadPause_();
            if (loadNumber != loadNumber_)
                return;
            sincePause.restart();
        }
        qsizetype to = text.indexOf(u'\n', from + kLoadSlice);
        if (to < 0)
            to = text.size();
        end.movePosition(QTextCursor::End);
        // Each slice begins with the line break that ends the line before it.
        end.insertText(QStringView(text).sliced(from, to - from).toString());
        from = to;
    }
}


void LineEditorWidget::insertLines(int at, const QStringList& lines)
{
    if (lines.isEmpty())
        return;
    const int count = lineCount();
    at = std::clamp(at, 0, count);
    const QString joined = lines.join(u'\n');
    QTextCursor cursor(document());
    int displacedState = -1;
    loading_ = true;
    cursor.beginEditBlock();
    if (count == 0) {
        cursor.insertText(joined);
    } else if (at >= count) {
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(u'\n' + joined);
    } else {
        const QTextBlock block = document()->findBlockByNumber(at);
        displacedState = block.userState();
        cursor.setPosition(block.position());
        cursor.insertText(joined + u'\n');
    }
    cursor.endEditBlock();
    loading_ = false;
    oneEmptyLine_ = false;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i)
        document()->findBlockByNumber(at + i).setUserState(-1);
    // The line that was at `at` now follows the inserted ones, edited or not as before.
    if (at < count)
        document()->findBlockByNumber(at + static_cast<int>(lines.size())).setUserState(displacedState);
}

void LineEditorWidget::markEdited(int position, int added)
{
    if (loading_)
        return;
    oneEmptyLine_ = false;
    QTextBlock block = document()->findBlock(position);
    const QTextBlock last = document()->findBlock(position + added);
    while (block.isValid()) {
        block.setUserState(kEdited);
        if (block == last)
            break;
        block = block.next();
    }
}

void LineEditorWidget::caretMoved()
{
    if (loading_ || trimming_)
        return;
    const QTextBlock current = textCursor().block();
    const QTextBlock left = caretBlock_.block();
    if (left == current)
        return;
    caretBlock_ = QTextCursor(current);
    if (left.isValid() && left.userState() == kEdited)
        trimTrailingSpaces(left);
}

void LineEditorWidget::trimTrailingSpaces(const QTextBlock& block)
{
    const QString text = block.text();
    const int keep = lengthWithoutTrailingSpaces(text);
    if (keep == text.size())
        return;
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + keep);
    cursor.setPosition(block.position() + static_cast<int>(text.size()), QTextCursor::KeepAnchor);
    trimming_ = true;
    // A step of its own in the editor's history: undo first brings the spaces back.
    cursor.removeSelectedText();
    trimming_ = false;
}

void LineEditorWidget::moveToLineEnd(QTextCursor::MoveMode mode)
{
    QTextCursor cursor = textCursor();
    const QTextBlock block = cursor.block();
    const QString text = block.text();
    int lastNonBlank = static_cast<int>(text.size());
    while (lastNonBlank > 0 && text[lastNonBlank - 1].unicode() <= 0x20)
        --lastNonBlank;
    const int target =
        (lastNonBlank == 0 || cursor.positionInBlock() == lastNonBlank) ? static_cast<int>(text.size()) : lastNonBlank;
    cursor.setPosition(block.position() + target, mode);
    setTextCursor(cursor);
}

void LineEditorWidget::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier)) {
        char16_t code = 0;
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_J:
            code = 10;
            break;
        case Qt::Key_C:
            code = 3;
            break;
        case Qt::Key_X:
            code = 24;
            break;
        default:
            break;
        }
        if (code != 0) {
            const bool swallowed = controlCharacter_ && controlCharacter_(code);
            // The editor's own copy and cut are not bound: the program does them itself.
            if (swallowed || code == 3 || code == 24) {
                event->accept();
                return;
            }
        }
    }
    if (event->key() == Qt::Key_End && !(modifiers & Qt::ControlModifier)) {
        moveToLineEnd((modifiers & Qt::ShiftModifier) ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void LineEditorWidget::keyReleaseEvent(QKeyEvent* event)
{
    QPlainTextEdit::keyReleaseEvent(event);
    emit keyReleased();
}

void LineEditorWidget::mouseReleaseEvent(QMouseEvent* event)
{
    QPlainTextEdit::mouseReleaseEvent(event);
    emit clicked();
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

}  // namespace ui
