#include "app/LineEditorWidget.h"
#include "app/UiFonts.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QStringList>

namespace {

// The gutter grows with the number of digits and the text always starts after it.
TEST(LineEditorWidget, GutterMakesRoomForTheLineNumbers)
{
    app::LineEditorWidget editor;
    editor.setFont(app::gothicFixedFont(15));
    editor.resize(320, 154);
    editor.show();

    int previousWidth = 0;
    for (const int lines : {1, 99, 100, 1000}) {
        SCOPED_TRACE(lines);
        QStringList text;
        for (int i = 0; i < lines; ++i)
            text << QStringLiteral("line");
        editor.setPlainText(text.join(u'\n'));
        QApplication::processEvents();
        const int digits = static_cast<int>(QString::number(lines).size());
        EXPECT_GE(editor.gutterWidth(), editor.fontMetrics().horizontalAdvance(QString(digits, u'9')));
        EXPECT_GE(editor.gutterWidth(), previousWidth);
        EXPECT_GE(editor.viewport()->geometry().left(), editor.gutterWidth());
        previousWidth = editor.gutterWidth();
    }
    EXPECT_FALSE(editor.tabChangesFocus());
}

}  // namespace
