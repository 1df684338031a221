// A grid acquisition that fails halfway has already emptied the grid and refilled some rows
// with other attributes. Undo records of the grid before it must not land in those rows,
// where "更新" would write them into attributes they never belonged to.
#include "ServedMainForm.h"

#include "grid/ui/KelvoStringGrid.h"
#include "kelvocad/model/Drawing.h"
#include "ui_TKelvoMainForm.h"

#include <QTest>

#include <gtest/gtest.h>

namespace faults {
namespace {

using kelvocad::CadSession;
using Failure = kelvocad::FaultInjector::MemberFailure;

class PartialGridAcquisition : public ServedMainForm {
protected:
    void SetUp() override
    {
        ServedMainForm::SetUp();
        if (HasFatalFailure())
            return;
        const QString group = QStringLiteral("テスト,A,B");
        ui->ComboBox2->addItem(group);
        ui->ComboBox2->setCurrentIndex(ui->ComboBox2->findText(group));
        ui->CheckBox7->setChecked(false);  // Enter only closes the cell editor
        ui->PageControl1->setCurrentIndex(1);
    }
};

TEST_F(PartialGridAcquisition, UndoAfterwardsPutsNoOldTextIntoTheNewRows)
{
    const auto first = addDevices({{u"A1", u"B1"}, {u"A2", u"B2"}});
    planPick(first);
    ui->SpeedButton10->click();
    ASSERT_EQ(gridRow(1), (QStringList{"1", "A1", "B1"}));
    // The user edits a cell: the undo stack now holds its text from before.
    openCellEditor(1, 1, false, QStringLiteral("A1x"));
    pressEnterInGrid(false);
    ASSERT_EQ(ui->StringGrid1->cellText(1, 1), QStringLiteral("A1x"));

    // The next acquisition reads the first row, then cannot reach the second device again.
    const auto second = addDevices({{u"E1", u"F1"}, {u"E2", u"F2"}});
    afterCall({u"HandleToObject"},
              [](CadSession& s) { s.faults().failMember(Failure::of(u"HandleToObject").onlyTimes(1)); });
    planPick(second);
    bounded([&] { ui->SpeedButton10->click(); });
    ASSERT_EQ(gridRow(1), (QStringList{"1", "E1", "F1"}));
    ASSERT_EQ(gridRow(2), (QStringList{"2", "", ""})) << "the acquisition ended at the second row";
    EXPECT_TRUE(messages.shown.empty());
    inServer([](CadSession& s) { s.faults().clear(); });

    // UNDO and Ctrl+Z find nothing of the old grid to put back; the update writes the
    // values the rows show.
    ui->SpeedButton13->click();
    ui->StringGrid1->setCurrentCell(1, 1);
    QTest::keyClick(ui->StringGrid1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(gridRow(1), (QStringList{"1", "E1", "F1"}));
    ui->SpeedButton11->click();
    EXPECT_EQ(attributeOf(second[0], 0), u"E1");
    EXPECT_EQ(attributeOf(second[0], 1), u"F1");
    EXPECT_EQ(attributeOf(first[0], 0), u"A1");
    expectAtRest();
    expectAnswersInput();
}

}  // namespace
}  // namespace faults
