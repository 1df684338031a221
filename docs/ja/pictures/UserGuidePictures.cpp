// The pictures of the Japanese user guide (docs/ja), taken from kelvoedit's real main window
// and dialogs while it works on KelvoCAD's sample drawing over the local socket. Each road
// checks that the window shows what its picture is meant to show, so a picture of a broken
// road is never written. Run by docs/ja/make-pictures.sh (KELVO_GUIDE_PICTURES: the folder).
#include "ServedMainForm.h"

#include "app/AppPaths.h"
#include "cadlink/ui/TTargetCADForm.h"
#include "grid/ui/KelvoStringGrid.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/model/SampleDrawing.h"
#include "ui/LineEditorWidget.h"
#include "ui_TKelvoMainForm.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <variant>

namespace faults {
namespace {

QString pictureFolder()
{
    const QString folder = qEnvironmentVariable("KELVO_GUIDE_PICTURES", QStringLiteral("guide-pictures"));
    QDir().mkpath(folder);
    return folder;
}

void save(QWidget& window, const char* name)
{
    QApplication::processEvents();
    const QString file = pictureFolder() + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png");
    ASSERT_TRUE(window.grab().save(file)) << file.toStdString();
}

class UserGuidePictures : public ServedMainForm {
protected:
    void SetUp() override
    {
        ServedMainForm::SetUp();
        if (HasFatalFailure())
            return;
        inServer([this](kelvocad::CadSession& s) {
            s.replaceDrawing(kelvocad::makeSampleDrawing());
            for (const auto& entity : s.drawing().entities()) {
                if (const auto* text = std::get_if<kelvocad::TextEntity>(&entity); text && text->layer == u"WIRE")
                    wires.push_back(text->handle);
                if (const auto* block = std::get_if<kelvocad::BlockReference>(&entity); block && block->name == u"PLC_IO")
                    ioBlocks.push_back(block->handle);
            }
        });
        ASSERT_GE(wires.size(), 5u);
        ASSERT_GE(ioBlocks.size(), 4u);
    }

    // Opens a modal dialog with the user's action, takes its picture, and cancels it.
    void pictureOfDialog(const std::function<void()>& open, const char* name)
    {
        bool taken = false;
        QTimer::singleShot(300, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr) << name;
            save(*dialog, name);
            taken = true;
            if (auto* modal = qobject_cast<QDialog*>(dialog))
                modal->reject();
            else
                dialog->close();
        });
        open();
        EXPECT_TRUE(taken) << name << ": no dialog opened";
    }

    std::vector<std::u16string> wires;
    std::vector<std::u16string> ioBlocks;
};

TEST_F(UserGuidePictures, TextEditRoad)
{
    save(*form, "01-text-page");
    planPick({wires.begin(), wires.begin() + 5});
    ui->SpeedButton1->click();
    ASSERT_EQ(editorLines().mid(0, 2), (QStringList{"W-01", "W-02"}));
    save(*form, "02-text-acquired");

    setEditorText(QStringLiteral("W-101\nW-102\nW-103\nW-104\nW-105\n"));
    save(*form, "03-text-edited");
    ui->SpeedButton2->click();
    EXPECT_EQ(textOf(wires[0]), u"W-101");
    save(*form, "04-text-written");
}

TEST_F(UserGuidePictures, GridRoadWithASpreadsheet)
{
    ui->PageControl1->setCurrentIndex(1);
    ASSERT_EQ(ui->ComboBox2->currentText().left(7), QStringLiteral("I/Oコメント"));
    save(*form, "05-grid-page");
    planPick(ioBlocks);
    ui->SpeedButton10->click();
    ASSERT_EQ(gridRow(1).mid(0, 3), (QStringList{"1", "1", "X0A0"}));
    save(*form, "06-grid-acquired");

    // Two comments copied from a spreadsheet, pasted over the first two JCMNT1 cells.
    QApplication::clipboard()->setText(QStringLiteral("電源入 (AC)\r\n非常停止 (B)\r\n"));
    ui->StringGrid1->setCurrentCell(3, 1);
    QTest::keyClick(ui->StringGrid1, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(gridRow(2).value(3), QStringLiteral("非常停止 (B)"));
    save(*form, "07-grid-pasted");
    ui->SpeedButton11->click();
    EXPECT_EQ(attributeOf(ioBlocks[1], 2), u"非常停止 (B)");
}

TEST_F(UserGuidePictures, SearchRoad)
{
    ui->PageControl1->setCurrentIndex(2);
    ui->Edit3->setText(QStringLiteral("W-0"));
    ui->SpeedButton14->click();
    ASSERT_GE(searchRows().size(), 9);
    save(*form, "08-search-hits");
    openCellEditor(1, 1, true, QStringLiteral("W-001"));
    pressEnterInGrid(true);
    save(*form, "09-search-edited");
}

TEST_F(UserGuidePictures, Dialogs)
{
    // The target CAD dialog as the program makes it, over a list of three CADs.
    const auto executable = std::filesystem::path(dir.path().toStdU16String()) / "kelvoedit";
    const auto list = app::listPathFor(executable, app::kTargetCadListName);
    std::ofstream(list, std::ios::binary) << "BricsCAD\tBricscadApp.AcadApplication\r\n"
                                             "AutoCAD\tAutoCAD.Application\r\n"
                                             "KelvoCAD\tKelvoCAD.Application\r\n";
    cadlink::TTargetCADForm targetCad(list, messages, form.get());
    form->setTargetCadForm(&targetCad);
    pictureOfDialog([this] { ui->SpeedButton7->click(); }, "10-dialog-target-cad");
    form->setTargetCadForm(nullptr);
    setEditorText(QStringLiteral("A-1\nA-2\n"));
    for (const auto& [item, name] : {std::pair{"N7", "11-dialog-replace"}, std::pair{"N14", "12-dialog-addition"},
                                     std::pair{"N17", "13-dialog-numbering"}}) {
        auto* action = form->findChild<QAction*>(QLatin1String(item));
        ASSERT_NE(action, nullptr) << item;
        pictureOfDialog([action] { action->trigger(); }, name);
    }
}

}  // namespace
}  // namespace faults
