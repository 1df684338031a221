#pragma once

#include <QPlainTextEdit>

class QEvent;
class QPaintEvent;
class QResizeEvent;

namespace app {

// The multi-line editor of the first page: plain text with a gutter of line numbers from 1.
class LineEditorWidget : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit LineEditorWidget(QWidget* parent = nullptr);

    int gutterWidth() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class Gutter;
    friend class Gutter;

    void paintGutter(QPaintEvent* event);
    void updateGutterWidth();
    void placeGutter();
    void updateGutter(const QRect& rect, int dy);

    Gutter* gutter_;
};

}  // namespace app
