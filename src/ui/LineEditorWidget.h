#pragma once

#include <QPlainTextEdit>
#include <QStringList>
#include <QTextCursor>

#include <functional>

class QEvent;
class QKeyEvent;
class QMouseEvent;
class QTextBlock;
class QPaintEvent;
class QResizeEvent;

namespace ui {

// The multi-line editor of the first page: plain text with a gutter of line numbers from 1.
// Trailing spaces of a line the user edited are dropped when the caret leaves it (and are
// never part of the line as read); End goes to the last non-blank character first; Ctrl+C
// and Ctrl+X are not the editor's own: they go to the control-character handler.
class LineEditorWidget : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit LineEditorWidget(QWidget* parent = nullptr);

    int gutterWidth() const;

    // Called for a character typed with Ctrl held, before the editor acts on it: 10 for
    // Ctrl+Enter (and Ctrl+J), 3 for Ctrl+C, 24 for Ctrl+X. True swallows the key.
    using ControlCharacterHandler = std::function<bool(char16_t)>;
    void setControlCharacterHandler(ControlCharacterHandler handler) { controlCharacter_ = std::move(handler); }

    // Lines as the program sees them: none for an empty editor, unless it was loaded with one
    // empty line and not changed since; an edited line without its trailing spaces.
    int lineCount() const;
    QString lineText(int index) const;
    // Every line in one walk: reading them one by one looks each up from the start.
    QStringList lines() const;
    // Replaces the whole text. The editor's own undo history starts afresh and the caret
    // goes to line 1, column 1. A long text goes in a slice at a time, with the load pause
    // run between slices.
    void loadText(const QString& text);
    // Runs between the slices of a long load so that the window repaints and its timers
    // tick. The load cannot be interrupted: the pause must not let user input through.
    using LoadPause = std::function<void()>;
    void setLoadPause(LoadPause pause, int everyMilliseconds = 30)
    {
        loadPause_ = std::move(pause);
        loadPauseEveryMs_ = everyMilliseconds;
    }
    // The same with the text given as lines, so that one empty line is a line.
    void loadLines(const QStringList& lines);
    // Inserts lines the program made above line `at`, or after the last line when `at` is the
    // line count, as one step of the editor's undo history. They are not the user's edits:
    // their trailing spaces stay, and the lines around them keep their state.
    void insertLines(int at, const QStringList& lines);

signals:
    // A mouse click in the text, and a key released: the caret line may have changed.
    void clicked();
    void keyReleased();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    class Gutter;
    friend class Gutter;

    void paintGutter(QPaintEvent* event);
    void updateGutterWidth();
    void placeGutter();
    void updateGutter(const QRect& rect, int dy);
    void markEdited(int position, int added);
    void caretMoved();
    void trimTrailingSpaces(const QTextBlock& block);
    void moveToLineEnd(QTextCursor::MoveMode mode);

    void load(const QString& text, bool oneEmptyLine);
    void appendLoadedSlices(const QString& text, qsizetype from, unsigned loadNumber);

    Gutter* gutter_;
    ControlCharacterHandler controlCharacter_;
    LoadPause loadPause_;
    int loadPauseEveryMs_ = 30;
    unsigned loadNumber_ = 0;  // a load made in a pause supersedes the one that paused
    QTextCursor caretBlock_;  // start of the block the caret was in, kept in place by edits
    bool loading_ = false;  // the program puts text in: no line becomes an edited one
    bool trimming_ = false;
    // The empty document holds one empty line loaded as such, not no line at all.
    bool oneEmptyLine_ = false;
};

}  // namespace ui
