#include "grid/CellGrid.h"
#include "grid/TUndoCells.h"
#include "grid/ui/GridPage.h"
#include "grid/ui/KelvoStringGrid.h"
#include "textops/ui/TKelvoKasanForm.h"
#include "textops/ui/TKelvoRenbanForm.h"
#include "textops/ui/TKelvoTikanForm.h"
#include "textops/ui/TextToolsFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>

namespace {

using textops_ui_testing::TextToolsFixture;
using textops_ui_testing::type;

// The attribute grid with a fixed row and column, 3 data columns and 10 data rows; cell
// (c, r) holds "c.r" unless a test puts something else there.
class TextToolGridCommandsTest : public TextToolsFixture {
protected:
    void SetUp() override
    {
        TextToolsFixture::SetUp();
        child<QTabWidget>(form(), "PageControl1").setCurrentIndex(1);
        grid_ = &child<grid::KelvoStringGrid>(form(), "StringGrid1");
        grid_->setGridColCount(4);
        grid_->setGridRowCount(11);
        for (int c = 1; c <= 3; ++c)
            for (int r = 1; r <= 10; ++r)
                setCell(c, r, QStringLiteral("%1.%2").arg(c).arg(r));
    }

    grid::CellGrid& cells() { return grid_->cells(); }
    grid::GridPage& page() { return form().gridPage(); }
    void setCell(int c, int r, const QString& text) { cells().setCellText(c, r, text.toStdU16String()); }
    QString cell(int c, int r) { return QString::fromStdU16String(cells().cellText(c, r)); }
    // Anchor first, current cell second.
    void selectCells(int left, int top, int right, int bottom) { grid_->setSelectionCorners(left, top, right, bottom); }
    void pressCtrlZ()
    {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier, QStringLiteral("\x1a"));
        QApplication::sendEvent(grid_, &press);
    }
    template <class T>
    T& in(QWidget& dialog, const char* name)
    {
        return child<T>(dialog, name);
    }

    grid::KelvoStringGrid* grid_ = nullptr;
};

TEST_F(TextToolGridCommandsTest, WidthItemsConvertEveryCellAndUndoAsOneGroup)
{
    struct Case {
        const char* item;
        QString before[2][3];
        QString after[2][3];
    };
    const Case cases[] = {
        {"N32",
         {{"A B", QStringLiteral("　x"), "1"}, {"", "(a)", QStringLiteral("ｶﾞ")}},
         {{QStringLiteral("Ａ Ｂ"), QStringLiteral(" ｘ"), QStringLiteral("１")},
          {"", QStringLiteral("（ａ）"), QStringLiteral("ガ")}}},
        {"N33",
         {{QStringLiteral("ＡＢ"), QStringLiteral("　ｘ"), "1"}, {"", QStringLiteral("ガ"), "-"}},
         {{"AB", QStringLiteral(" x"), "1"}, {"", QStringLiteral("ｶﾞ"), "-"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        for (int r = 0; r < 2; ++r)
            for (int col = 0; col < 3; ++col)
                setCell(col + 1, r + 2, c.before[r][col]);
        selectCells(1, 2, 3, 3);
        const int recordsBefore = page().FUndoCells().Count();
        trigger(c.item);
        for (int r = 0; r < 2; ++r)
            for (int col = 0; col < 3; ++col)
                EXPECT_EQ(cell(col + 1, r + 2), c.after[r][col]) << col + 1 << "," << r + 2;
        // Every cell of the 3 x 2 rectangle is saved, changed or not.
        EXPECT_EQ(page().FUndoCells().Count() - recordsBefore, 6);
        EXPECT_EQ(page().sgUndoCnt(), 6);
        pressCtrlZ();
        for (int r = 0; r < 2; ++r)
            for (int col = 0; col < 3; ++col)
                EXPECT_EQ(cell(col + 1, r + 2), c.before[r][col]) << col + 1 << "," << r + 2;
    }
}

TEST_F(TextToolGridCommandsTest, ReplaceSavesEveryCellAndKeepsTheLastReplacement)
{
    auto& tikan = dialog<textops::ui::TKelvoTikanForm>("TKelvoTikanForm");
    tikan.setFields({u"", u"typed before"});
    setCell(1, 1, "abc");
    setCell(1, 2, "xabcx ABC");
    setCell(1, 3, "none");
    selectCells(1, 1, 1, 3);
    QString shownSearch, shownReplacement;
    trigger("N35", &tikan, [&, this] {
        shownSearch = in<QLineEdit>(tikan, "Edit1").text();
        shownReplacement = in<QLineEdit>(tikan, "Edit2").text();
        type(in<QLineEdit>(tikan, "Edit2"), "Z");
        in<QPushButton>(tikan, "Button1").click();
    });
    // The top-left cell fills the search; the replacement is the one last used.
    EXPECT_EQ(shownSearch, "abc");
    EXPECT_EQ(shownReplacement, "typed before");
    EXPECT_EQ(cell(1, 1), "Z");
    EXPECT_EQ(cell(1, 2), "xZx ABC");
    EXPECT_EQ(cell(1, 3), "none");
    EXPECT_EQ(page().sgUndoCnt(), 3);
    EXPECT_EQ(page().FUndoCells().Count(), 3);

    // Cancel, or an empty search, leaves the cells and the undo group alone.
    for (const bool cancel : {true, false}) {
        SCOPED_TRACE(cancel);
        trigger("N35", &tikan, [&, this] {
            if (!cancel)
                type(in<QLineEdit>(tikan, "Edit1"), "");
            in<QPushButton>(tikan, cancel ? "Button2" : "Button1").click();
        });
        EXPECT_EQ(cell(1, 1), "Z");
        EXPECT_EQ(page().sgUndoCnt(), 3);
        EXPECT_EQ(page().FUndoCells().Count(), 3);
    }
}

TEST_F(TextToolGridCommandsTest, AdditionSavesEveryCellOrOnlyTheNumberedOnes)
{
    auto& kasan = dialog<textops::ui::TKelvoKasanForm>("TKelvoKasanForm");
    struct Case {
        const char* item;
        QString addend;
        QString numbered;  // cell (1, 1) after the command
        int records;
        int undoCount;
    };
    const Case cases[] = {
        {"N42", "1", "W-02", 4, 4},
        {"N36", "1", "W-02", 1, 1},
        {"N42", "0", "W-01", 0, 99},
        {"N36", "0", "W-01", 0, 99},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.item) + " " + c.addend.toStdString());
        setCell(1, 1, "W-01");
        setCell(2, 1, "A");
        setCell(1, 2, "");
        setCell(2, 2, QStringLiteral("１"));
        selectCells(1, 1, 2, 2);
        page().sgUndoCnt() = 99;
        const int recordsBefore = page().FUndoCells().Count();
        trigger(c.item, &kasan, [&, this] {
            type(in<QLineEdit>(kasan, "Edit1"), c.addend);
            in<QPushButton>(kasan, "Button1").click();
        });
        EXPECT_EQ(cell(1, 1), c.numbered);
        EXPECT_EQ(cell(2, 1), "A");
        EXPECT_EQ(cell(2, 2), QStringLiteral("１"));
        EXPECT_EQ(page().FUndoCells().Count() - recordsBefore, c.records);
        EXPECT_EQ(page().sgUndoCnt(), c.undoCount);
    }
}

TEST_F(TextToolGridCommandsTest, NumberingOverwritesDownTheCurrentColumn)
{
    auto& renban = dialog<textops::ui::TKelvoRenbanForm>("TKelvoRenbanForm");
    struct Case {
        const char* name;
        int top, bottom;  // selected rows of column 2, current cell at the bottom
        int firstWritten, lastWritten;
    };
    const Case cases[] = {
        {"single cell: down to the last row", 3, 3, 3, 10},
        {"selected rows only", 2, 4, 2, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int r = 1; r <= 10; ++r)
            setCell(2, r, QStringLiteral("2.%1").arg(r));
        selectCells(2, c.top, 2, c.bottom);
        QString button1WhileOpen;
        bool insertEnabledWhileOpen = true;
        trigger("N31", &renban, [&, this] {
            button1WhileOpen = in<QPushButton>(renban, "Button1").text();
            insertEnabledWhileOpen = in<QPushButton>(renban, "Button3").isEnabled();
            type(in<QLineEdit>(renban, "Edit1"), "t");
            type(in<QLineEdit>(renban, "Edit2"), "01");
            type(in<QLineEdit>(renban, "Edit4"), "16");
            in<QPushButton>(renban, "Button1").click();
        });
        EXPECT_EQ(button1WhileOpen, QStringLiteral("上書き"));
        EXPECT_FALSE(insertEnabledWhileOpen);
        EXPECT_EQ(in<QPushButton>(renban, "Button1").text(), QStringLiteral("追加"));
        EXPECT_TRUE(in<QPushButton>(renban, "Button3").isEnabled());
        for (int r = 1; r <= 10; ++r) {
            const bool written = r >= c.firstWritten && r <= c.lastWritten;
            EXPECT_EQ(cell(2, r), written ? QStringLiteral("T%1").arg(r - c.firstWritten + 1, 2, 10, QChar(u'0'))
                                          : QStringLiteral("2.%1").arg(r))
                << r;
        }
        EXPECT_EQ(page().sgUndoCnt(), c.lastWritten - c.firstWritten + 1);
        pressCtrlZ();
        for (int r = 1; r <= 10; ++r)
            EXPECT_EQ(cell(2, r), QStringLiteral("2.%1").arg(r)) << r;
    }
    // The editor was left alone.
    EXPECT_TRUE(editor().document()->isEmpty());
}

TEST_F(TextToolGridCommandsTest, NothingHappensWhileACadOperationRuns)
{
    setCell(1, 1, "a");
    selectCells(1, 1, 1, 1);
    setLines({"a"});
    form().lineEditorFields().cadOperationRunning = true;
    trigger("N32");
    trigger("N1");
    EXPECT_EQ(cell(1, 1), "a");
    EXPECT_EQ(page().FUndoCells().Count(), 0);
    EXPECT_EQ(lines(), QStringList({"a"}));
}

}  // namespace
