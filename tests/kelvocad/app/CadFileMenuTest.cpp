// The File commands of the KelvoCAD window: open, save, save as, the unsaved-changes mark
// and the question before unsaved changes are lost.
#include "automation/Object.h"
#include "automation/Variant.h"
#include "kelvocad/app/CadDocument.h"
#include "kelvocad/app/CadMainWindow.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/CadSession.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

namespace kelvocad {
namespace {

using automation::Variant;

std::string drawingWithText(const std::string& string)
{
    return "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$HANDSEED\n5\n100\n0\nENDSEC\n"
           "0\nSECTION\n2\nENTITIES\n"
           "0\nTEXT\n5\n2A\n8\n0\n10\n1.5\n20\n2.5\n30\n0.0\n40\n2.5\n1\n" +
           string + "\n0\nENDSEC\n0\nEOF\n";
}

class CadFileMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = write("plan.dxf", drawingWithText("HELLO"));
        document = CadDocument::open(path);
        window = std::make_unique<CadMainWindow>(document.session());
        window->setDocument(&document);
        auto& questions = window->questions();
        questions.fileToOpen = [this] { return fileToOpen; };
        questions.fileToSaveAs = [this](const QString&) { return fileToSaveAs; };
        questions.saveChanges = [this](const QString& name) {
            askedAbout.push_back(name);
            return answer;
        };
        questions.showError = [this](const QString& message) { errors.push_back(message); };
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    QString write(const char* name, const std::string& content)
    {
        const QString file = folder.filePath(QString::fromLatin1(name));
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(content.data(), static_cast<qint64>(content.size()));
        return file;
    }

    void changeText(const std::u16string& string)
    {
        auto doc = document.session()->application()->get(u"ActiveDocument").toObject();
        doc->call(u"HandleToObject", {Variant(u"2A")}).toObject()->put(u"TextString", Variant(string));
    }

    std::u16string textOnDisk(const QString& file) const
    {
        return CadDocument::open(file).session()->drawing().findText(u"2A")->string;
    }

    std::u16string textShown() const { return document.session()->drawing().findText(u"2A")->string; }

    QAction* action(const char* name) const { return window->findChild<QAction*>(QString::fromLatin1(name)); }

    QTemporaryDir folder;
    QString path;
    CadDocument document;
    std::unique_ptr<CadMainWindow> window;
    QString fileToOpen;
    QString fileToSaveAs;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    QStringList askedAbout;
    QStringList errors;
};

TEST_F(CadFileMenuTest, TitleNamesTheFileAndMarksUnsavedChanges)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("KelvoCAD - plan.dxf"));
    changeText(u"WORLD");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("KelvoCAD - plan.dxf *"));

    action("saveAction")->trigger();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("KelvoCAD - plan.dxf"));
    EXPECT_EQ(textOnDisk(path), u"WORLD");

    changeText(u"AGAIN");
    fileToSaveAs = folder.filePath(QStringLiteral("copy.dxf"));
    action("saveAsAction")->trigger();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("KelvoCAD - copy.dxf"));
    EXPECT_EQ(textOnDisk(fileToSaveAs), u"AGAIN");
    EXPECT_EQ(textOnDisk(path), u"WORLD");
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

TEST_F(CadFileMenuTest, ClosingWithUnsavedChangesAsksFirst)
{
    struct Case {
        const char* name;
        QMessageBox::StandardButton answer;
        bool breakTheFile;  // the save fails
        bool closes;
        std::u16string onDisk;
    };
    const Case cases[] = {
        {"cancel", QMessageBox::Cancel, false, false, u"HELLO"},
        {"discard", QMessageBox::Discard, false, true, u"HELLO"},
        {"save", QMessageBox::Save, false, true, u"WORLD"},
        {"save fails", QMessageBox::Save, true, false, u"HELLO"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        if (c.breakTheFile) {
            // Saved into a folder that then goes away.
            ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("gone")));
            document.saveAs(folder.filePath(QStringLiteral("gone/plan.dxf")));
            ASSERT_TRUE(QDir(folder.filePath(QStringLiteral("gone"))).removeRecursively());
        }
        changeText(u"WORLD");
        answer = c.answer;
        EXPECT_EQ(window->close(), c.closes);
        EXPECT_EQ(askedAbout, QStringList{QStringLiteral("plan.dxf")});
        EXPECT_EQ(textOnDisk(path), c.onDisk);
        EXPECT_EQ(errors.size(), c.breakTheFile ? 1 : 0);
        askedAbout.clear();
        errors.clear();
    }
}

TEST_F(CadFileMenuTest, ClosingWithoutChangesAsksNothing)
{
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(askedAbout.isEmpty());
}

TEST_F(CadFileMenuTest, OpenReplacesTheDrawingOrLeavesItOnFailure)
{
    // A file that cannot be read: a message, and the drawing stays.
    fileToOpen = write("broken.dxf", "0\nSECTION\n2\nENTITIES\n0\nTEXT\n10\nx\n");
    action("openAction")->trigger();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("broken.dxf"))) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains(QStringLiteral("line 8"))) << errors[0].toStdString();
    EXPECT_EQ(textShown(), u"HELLO");

    // Unsaved changes: cancelling the question opens nothing.
    changeText(u"WORLD");
    fileToOpen = write("other.dxf", drawingWithText("OTHER"));
    answer = QMessageBox::Cancel;
    action("openAction")->trigger();
    EXPECT_EQ(askedAbout.size(), 1);
    EXPECT_EQ(textShown(), u"WORLD");

    answer = QMessageBox::Discard;
    action("openAction")->trigger();
    EXPECT_EQ(textShown(), u"OTHER");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("KelvoCAD - other.dxf"));
    EXPECT_EQ(textOnDisk(path), u"HELLO");
}

TEST(CadFileMenu, NoFileCommandsWithoutAFile)
{
    CadDocument sample = CadDocument::sample();
    for (CadDocument* document : {static_cast<CadDocument*>(nullptr), &sample}) {
        SCOPED_TRACE(document ? "sample" : "no document");
        CadMainWindow window(sample.session());
        window.setDocument(document);
        EXPECT_FALSE(window.findChild<QAction*>(QStringLiteral("saveAction"))->isEnabled());
        EXPECT_FALSE(window.findChild<QAction*>(QStringLiteral("saveAsAction"))->isEnabled());
        EXPECT_EQ(window.findChild<QAction*>(QStringLiteral("openAction"))->isEnabled(), document != nullptr);
        EXPECT_FALSE(window.saveDocument());
    }
}

}  // namespace
}  // namespace kelvocad
