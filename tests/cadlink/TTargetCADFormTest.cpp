#include "cadlink/ui/TTargetCADForm.h"
#include "app/ui/TestDoubles.h"
#include "cadlink/TargetProgID.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <memory>

using testing_support::readBytes;
using testing_support::RecordingMessages;
using testing_support::writeBytes;

namespace {

class TargetCadFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        cadlink::TargetProgID = u"Target.App";
        dialog_ = std::make_unique<cadlink::TTargetCADForm>(listPath(), messages_);
    }

    std::filesystem::path listPath() const
    {
        return std::filesystem::path(dir_.path().toStdU16String()) / "TargetCAD_APIVersion.txt";
    }

    QListWidget* list() { return dialog_->findChild<QListWidget*>(QStringLiteral("ListBox1")); }
    QLineEdit* edit(const char* name) { return dialog_->findChild<QLineEdit*>(QString::fromLatin1(name)); }
    void click(const char* name) { dialog_->findChild<QAbstractButton*>(QString::fromLatin1(name))->click(); }

    void showDialog()
    {
        dialog_->hide();
        dialog_->show();
    }

    QStringList shownLines()
    {
        QStringList lines;
        for (int i = 0; i < list()->count(); ++i)
            lines << list()->item(i)->text();
        return lines;
    }

    void type(const QString& name, const QString& progId)
    {
        edit("Edit1")->setText(name);
        edit("Edit2")->setText(progId);
    }

    QTemporaryDir dir_;
    RecordingMessages messages_;
    std::unique_ptr<cadlink::TTargetCADForm> dialog_;
};

TEST_F(TargetCadFormTest, LayoutAndCaptions)
{
    EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("ターゲット CAD"));
    EXPECT_EQ(dialog_->size(), QSize(315, 307));
    const std::pair<const char*, QString> buttons[] = {
        {"SpeedButton1", "追加"}, {"SpeedButton2", "削除"}, {"SpeedButton3", "変更"}, {"Button1", "OK"}, {"Button2", "取り消し"}};
    for (const auto& [name, caption] : buttons)
        EXPECT_EQ(dialog_->findChild<QAbstractButton*>(QString::fromLatin1(name))->text(), caption) << name;
}

TEST_F(TargetCadFormTest, WithoutFileTheListStartsEmptyAndAddCreatesTheFile)
{
    showDialog();
    EXPECT_EQ(list()->count(), 0);
    EXPECT_TRUE(edit("Edit1")->text().isEmpty());
    EXPECT_TRUE(edit("Edit2")->text().isEmpty());

    type(QStringLiteral("My CAD"), QStringLiteral("My.App"));
    click("SpeedButton1");
    EXPECT_EQ(readBytes(listPath()), "My CAD\tMy.App\r\n");
    EXPECT_EQ(list()->currentRow(), 0);

    // Added twice: the list and the file hold it twice.
    click("SpeedButton1");
    EXPECT_EQ(shownLines(), QStringList({"My CAD\tMy.App", "My CAD\tMy.App"}));
    EXPECT_EQ(readBytes(listPath()), "My CAD\tMy.App\r\nMy CAD\tMy.App\r\n");
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(TargetCadFormTest, ShowSortsTheFileAndSelectsTheLineOfTheTarget)
{
    writeBytes(listPath(), "b\tTarget.App\r\nA\tTarget.App.2\r\nC\tOther\r\n");
    showDialog();
    EXPECT_EQ(shownLines(), QStringList({"A\tTarget.App.2", "b\tTarget.App", "C\tOther"}));
    // The first line in list order that contains TAB + TargetProgID.
    EXPECT_EQ(list()->currentRow(), 0);
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("A"));
    EXPECT_EQ(edit("Edit2")->text(), QStringLiteral("Target.App.2"));

    // An added line takes its sorted place and becomes the selection; the file follows.
    type(QStringLiteral("a2"), QStringLiteral("New"));
    click("SpeedButton1");
    EXPECT_EQ(list()->currentRow(), 1);
    EXPECT_EQ(readBytes(listPath()), "A\tTarget.App.2\r\na2\tNew\r\nb\tTarget.App\r\nC\tOther\r\n");
}

TEST_F(TargetCadFormTest, ShowWithoutMatchOrWithoutFileKeepsTheEditBoxes)
{
    writeBytes(listPath(), "A\tOther\r\n");
    type(QStringLiteral("kept"), QStringLiteral("Kept.App"));
    showDialog();
    EXPECT_EQ(list()->currentRow(), -1);
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("kept"));

    // The file gone: the list stays as it was shown last time.
    std::filesystem::remove(listPath());
    showDialog();
    EXPECT_EQ(shownLines(), QStringList({"A\tOther"}));
    EXPECT_EQ(edit("Edit2")->text(), QStringLiteral("Kept.App"));
}

TEST_F(TargetCadFormTest, DeleteSelectsANeighbourAndWritesTheFile)
{
    struct Case {
        int deleted;
        int selected;
        const char* file;
    };
    // Deleting the second-to-last line selects the one before it.
    const Case cases[] = {
        {0, 0, "b\tB\r\nc\tC\r\nd\tD\r\n"},
        {1, 1, "a\tA\r\nc\tC\r\nd\tD\r\n"},
        {2, 1, "a\tA\r\nb\tB\r\nd\tD\r\n"},
        {3, 2, "a\tA\r\nb\tB\r\nc\tC\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.deleted);
        writeBytes(listPath(), "a\tA\r\nb\tB\r\nc\tC\r\nd\tD\r\n");
        showDialog();
        list()->setCurrentRow(c.deleted);
        click("SpeedButton2");
        EXPECT_EQ(list()->currentRow(), c.selected);
        const QString line = list()->item(c.selected)->text();
        EXPECT_EQ(edit("Edit1")->text() + '\t' + edit("Edit2")->text(), line);
        EXPECT_EQ(readBytes(listPath()), c.file);
    }
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(TargetCadFormTest, DeletingTheOnlyLineOrFromAnEmptyListWritesAnEmptyFile)
{
    writeBytes(listPath(), "a\tA\r\n");
    showDialog();
    list()->setCurrentRow(0);
    click("SpeedButton2");
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(list()->currentRow(), -1);
    EXPECT_TRUE(edit("Edit1")->text().isEmpty());
    EXPECT_TRUE(edit("Edit2")->text().isEmpty());
    EXPECT_EQ(readBytes(listPath()), "");

    std::filesystem::remove(listPath());
    click("SpeedButton2");
    EXPECT_TRUE(std::filesystem::exists(listPath()));
    EXPECT_EQ(readBytes(listPath()), "");
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(TargetCadFormTest, DeleteOrChangeWithNothingSelectedIsAnIndexErrorThatChangesNothing)
{
    const std::string file = "a\tA\r\nb\tB\r\n";
    for (const char* button : {"SpeedButton2", "SpeedButton3"}) {
        SCOPED_TRACE(button);
        messages_.shown.clear();
        writeBytes(listPath(), file);
        showDialog();
        list()->setCurrentRow(-1);
        type(QStringLiteral("x"), QStringLiteral("X"));
        click(button);
        ASSERT_EQ(messages_.shown.size(), 1u);
        EXPECT_EQ(messages_.shown[0].kind, ui::UserMessages::Kind::Error);
        EXPECT_EQ(shownLines(), QStringList({"a\tA", "b\tB"}));
        EXPECT_EQ(readBytes(listPath()), file);
    }
    // Delete has emptied the edit boxes before the error; change leaves them.
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("x"));
    click("SpeedButton2");
    EXPECT_TRUE(edit("Edit1")->text().isEmpty());
}

TEST_F(TargetCadFormTest, EnterInAnEditBoxChangesTheSelectedLineInPlace)
{
    writeBytes(listPath(), "a\tA\r\nb\tB\r\nc\tC\r\n");
    dialog_->show();
    list()->setCurrentRow(0);
    for (const char* name : {"Edit2", "Edit1"}) {
        SCOPED_TRACE(name);
        type(QStringLiteral("z"), QString::fromLatin1(name));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(edit(name), &enter);
        // Changed where it stands, out of order until the list is loaded again.
        EXPECT_EQ(shownLines(), QStringList({"z\t" + QString::fromLatin1(name), "b\tB", "c\tC"}));
        EXPECT_EQ(readBytes(listPath()), "z\t" + std::string(name) + "\r\nb\tB\r\nc\tC\r\n");
        EXPECT_EQ(edit(name)->text(), QString::fromLatin1(name == std::string("Edit1") ? "z" : "Edit2"));
        EXPECT_TRUE(dialog_->isVisible());
    }
}

TEST_F(TargetCadFormTest, OkTakesTheEditBoxesAsTheyAreAndCancelChangesNothing)
{
    writeBytes(listPath(), "a\tA\r\n");
    QSignalSpy chosen(dialog_.get(), &cadlink::TTargetCADForm::targetChosen);

    showDialog();
    type(QStringLiteral("Not listed"), QStringLiteral("Not.Listed"));
    click("Button2");
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    EXPECT_EQ(cadlink::TargetProgID, u"Target.App");
    EXPECT_EQ(chosen.count(), 0);

    showDialog();
    type(QStringLiteral("Not listed"), QStringLiteral("Not.Listed"));
    click("Button1");
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);
    EXPECT_EQ(cadlink::TargetProgID, u"Not.Listed");
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toString(), QStringLiteral("Not listed"));
    EXPECT_EQ(shownLines(), QStringList({"a\tA"}));
    EXPECT_EQ(readBytes(listPath()), "a\tA\r\n");
}

TEST_F(TargetCadFormTest, ListIsWrittenInTheEncodingItWasRead)
{
    const std::string mark = "\xEF\xBB\xBF";
    writeBytes(listPath(), mark + "\xE3\x83\x96\tTarget.App\r\n");
    showDialog();
    type(QStringLiteral("x"), QStringLiteral("X"));
    click("SpeedButton1");
    EXPECT_EQ(readBytes(listPath()), mark + "x\tX\r\n\xE3\x83\x96\tTarget.App\r\n");
}

}  // namespace
