// The search page in the main window, on the offscreen platform, against KelvoCAD in
// process: what a user's clicks and keys on page 3 do to the drawing and to the page.
#include "app/TKelvoMainForm.h"
#include "app/ui/TestDoubles.h"
#include "automation/InProcessRunningObjects.h"
#include "cadlink/FakeWindowServices.h"
#include "cadlink/TargetProgID.h"
#include "common/Utf.h"
#include "grid/ui/KelvoStringGrid.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/CadSession.h"
#include "search/ui/SearchPage.h"
#include "ui_TKelvoMainForm.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

#include <memory>

namespace {

using testing_support::RecordingLauncher;
using testing_support::RecordingMessages;
using Kind = ui::UserMessages::Kind;

class SearchPageTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RecordingMessages messages;
    RecordingLauncher launcher;
    std::shared_ptr<kelvocad::CadSession> session = kelvocad::CadSession::create(std::make_shared<kelvocad::Drawing>());
    automation::InProcessRunningObjects runningObjects;
    cadlink::fakes::FakeWindowServices windows;
    cadlink::fakes::FakeOwnWindow ownWindow{windows.log, 7};
    std::unique_ptr<app::TKelvoMainForm> form;
    Ui::TKelvoMainForm* ui = nullptr;
    grid::KelvoStringGrid* grid = nullptr;
    std::u16string hA, hB, hC;

    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        windows.ownWindow = 7;
        session->applicationWindow = 99;
        form = std::make_unique<app::TKelvoMainForm>(std::filesystem::path(dir.path().toStdU16String()) / "kelvoedit",
                                                     messages, launcher);
        form->setAutomation(runningObjects, windows, ownWindow);
        runningObjects.announce(cadlink::TargetProgID, session->application());
        ui = &form->controls();
        grid = ui->StringGrid2;
        ui->PageControl1->setCurrentIndex(2);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));

        hA = addText(u"A-1", 10.0, 20.0, u"0");
        hB = addText(u"B-1", 30.0, 40.0, u"LOCKED");
        hC = addText(u"C-1", 1234.5, 60.0, u"0");
        drawing().setLayerLocked(u"LOCKED", true);
    }

    void TearDown() override
    {
        form.reset();
        QLocale::setDefault(QLocale::c());
    }

    kelvocad::Drawing& drawing() { return session->drawing(); }

    std::u16string addText(const std::u16string& string, double x, double y, const std::u16string& layer)
    {
        kelvocad::TextEntity text;
        text.string = string;
        text.layer = layer;
        text.insertionPoint = {x, y, 0.0};
        text.alignmentPoint = {x, y, 0.0};
        drawing().addLayer(layer);
        return drawing().addText(text);
    }

    std::u16string stringOf(const std::u16string& handle) { return drawing().findText(handle)->string; }

    QStringList rows() const
    {
        QStringList texts;
        for (int r = 0; r < grid->gridRowCount(); ++r)
            texts << grid->cellText(0, r);
        return texts;
    }

    void search(const QString& text)
    {
        ui->Edit3->setText(text);
        ui->SpeedButton14->click();
    }

    QLineEdit* editor() const { return qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex())); }

    // The grid as it is drawn now, and the rectangle of a row in it.
    QImage drawn() const { return grid->viewport()->grab().toImage(); }
    QRect rowRect(int row) const { return grid->visualRect(grid->model()->index(row, 0)); }

    static int redPixels(const QImage& image, const QRect& rect)
    {
        int count = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                count += c.red() > 180 && c.green() < 90 && c.blue() < 90;
            }
        return count;
    }
};

TEST_F(SearchPageTest, SearchListsTheHitsAndShowsTheFirst)
{
    search(QStringLiteral("-1"));
    EXPECT_EQ(rows(), (QStringList{"A-1", "B-1", "C-1"}));
    EXPECT_EQ(ui->Label7->text(), QStringLiteral("[*-1*] (部分一致)"));
    EXPECT_EQ(ui->SpeedButton14->text(), QStringLiteral("検索"));
    EXPECT_TRUE(ui->Edit3->isEnabled());
    EXPECT_EQ(grid->currentRow(), 0);
    EXPECT_EQ(ui->Label6->text(), QStringLiteral("1 / 3"));
    EXPECT_EQ(form->statusPanelText(0), QString::fromStdU16String(hA));
    EXPECT_EQ(form->statusPanelText(1), QStringLiteral("10.000, 20.000"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SearchPageTest, RowClickShowsPointInTheUsersLocaleAndPans)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    search(QString());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rowRect(2).center());
    EXPECT_EQ(ui->Label6->text(), QStringLiteral("3 / 3"));
    EXPECT_EQ(form->statusPanelText(0), QString::fromStdU16String(hC));
    EXPECT_EQ(form->statusPanelText(1), QStringLiteral("1234,500, 60,000"));
    EXPECT_DOUBLE_EQ(session->view().center.x, 1234.5);
}

TEST_F(SearchPageTest, Edit3EnterAndThePrefixOptionSearch)
{
    ui->Edit3->setText(QStringLiteral("B"));
    ui->Edit3->setFocus();
    QTest::keyClick(ui->Edit3, Qt::Key_Return);
    EXPECT_EQ(rows(), (QStringList{"B-1"}));

    ui->CheckBox3->click();  // 先頭一致 on: the search runs again at once
    EXPECT_EQ(ui->Label7->text(), QStringLiteral("[B*] (部分一致)"));
    EXPECT_EQ(rows(), (QStringList{"B-1"}));

    ui->Edit3->setText(QStringLiteral("-"));
    ui->CheckBox3->click();  // off again: partial match finds every row
    EXPECT_EQ(rows(), (QStringList{"A-1", "B-1", "C-1"}));

    // On another page the option only changes.
    ui->PageControl1->setCurrentIndex(0);
    ui->Edit3->setText(QStringLiteral("C"));
    ui->CheckBox3->click();
    EXPECT_EQ(rows(), (QStringList{"A-1", "B-1", "C-1"}));
}

TEST_F(SearchPageTest, UnregisteredProgIdShowsTheErrorAndLeavesThePageAtRest)
{
    runningObjects.unregisterProgId(cadlink::TargetProgID);
    search(QStringLiteral("A"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, Kind::Error);
    EXPECT_EQ(ui->SpeedButton14->text(), QStringLiteral("検索"));
    EXPECT_TRUE(ui->Edit3->isEnabled());
}

TEST_F(SearchPageTest, LockedRowsGreyChangedRowsRedEmptiedRowsSpringBack)
{
    search(QString());
    grid->setCurrentCell(0, 2);  // keep the highlight off rows 0 and 1
    const QImage before = drawn();
    const QRect locked = rowRect(1);
    const QColor grey = before.pixelColor(locked.right() - 3, locked.center().y());
    EXPECT_EQ(grey, QColor(192, 192, 192));
    const QRect plain = rowRect(0);
    EXPECT_NE(before.pixelColor(plain.right() - 3, plain.center().y()), QColor(192, 192, 192));
    EXPECT_EQ(redPixels(before, plain), 0);
    EXPECT_FALSE(ui->SpeedButton15->isEnabled());

    grid->setCellText(0, 0, QStringLiteral("A-2"));
    grid->setCellText(0, 1, QString());
    const QImage after = drawn();
    EXPECT_GT(redPixels(after, rowRect(0)), 0);
    EXPECT_TRUE(ui->SpeedButton15->isEnabled());
    EXPECT_EQ(grid->cellText(0, 1), QStringLiteral("B-1")) << "an emptied row shows its stored text again";
}

TEST_F(SearchPageTest, EnterWritesTheRowAndMovesDown)
{
    search(QString());
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Return);  // opens the editor on row 0
    ASSERT_NE(editor(), nullptr);
    editor()->selectAll();
    QTest::keyClicks(editor(), QStringLiteral("A-9"));
    QTest::keyClick(editor(), Qt::Key_Return);

    EXPECT_EQ(stringOf(hA), u"A-9");
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_TRUE(grid->isEditorOpen()) << "the editor opens on the next row";
    EXPECT_EQ(form->statusPanelText(0), QString::fromStdU16String(hB));

    // On the locked row the edit is put back and nothing is written; from the last row
    // Enter goes round to row 0.
    editor()->selectAll();
    QTest::keyClicks(editor(), QStringLiteral("B-9"));
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_EQ(grid->cellText(0, 1), QStringLiteral("B-1"));
    EXPECT_EQ(stringOf(hB), u"B-1");
    ASSERT_EQ(grid->currentRow(), 2);
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_EQ(grid->currentRow(), 0);
    EXPECT_EQ(stringOf(hC), u"C-1");
}

TEST_F(SearchPageTest, CtrlZTakesBackAnEditAndUpdateWritesTheRest)
{
    search(QString());
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Return);
    ASSERT_NE(editor(), nullptr);
    editor()->selectAll();
    QTest::keyClicks(editor(), QStringLiteral("typed"));
    QTest::keyClick(editor(), Qt::Key_Escape);
    grid->setCellText(0, 0, QStringLiteral("typed"));
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(grid->cellText(0, 0), QStringLiteral("A-1"));

    grid->setCellText(0, 2, QStringLiteral("C-2"));
    grid->setCellText(0, 1, QStringLiteral("B-2"));
    drawing().clearUndo();
    ui->SpeedButton15->setEnabled(true);
    ui->SpeedButton15->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, Kind::Information);
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("1 / 1 個の TEXT を更新しました．\nロック画層の TEXT 1 個は更新されません．"));
    EXPECT_EQ(stringOf(hC), u"C-2");
    EXPECT_FALSE(ui->SpeedButton15->isEnabled());
    EXPECT_TRUE(session->undoLastStep());
    EXPECT_EQ(stringOf(hC), u"C-1");
}

TEST_F(SearchPageTest, TheOneColumnSpansTheGridsWidth)
{
    search(QString());
    for (const int width : {420, 600, 380}) {
        SCOPED_TRACE(width);
        form->resize(width, form->height());
        QCoreApplication::processEvents();
        EXPECT_EQ(grid->columnWidth(0), grid->viewport()->width());
    }
}

TEST_F(SearchPageTest, SelectAllCoversEveryRow)
{
    search(QString());
    form->findChild<QAction*>(QStringLiteral("N47"))->trigger();
    EXPECT_EQ(grid->selectionRect(), (grid::GridRect{0, 0, 0, 2}));
}

}  // namespace
