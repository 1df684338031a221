#include "kelvocad/app/CadDocument.h"

#include "automation/Object.h"
#include "automation/Variant.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/CadSession.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace kelvocad {
namespace {

using automation::Variant;

// A minimal file: a header and one TEXT "HELLO" with handle 2A.
const char* const smallDxf =
    "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n9\n$HANDSEED\n5\n100\n0\nENDSEC\n"
    "0\nSECTION\n2\nENTITIES\n"
    "0\nTEXT\n5\n2A\n8\n0\n10\n1.5\n20\n2.5\n30\n0.0\n40\n2.5\n1\nHELLO\n"
    "0\nENDSEC\n0\nEOF\n";

class CadDocumentTest : public ::testing::Test {
protected:
    QString write(const char* name, const char* content)
    {
        const QString path = folder.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }
    QTemporaryDir folder;
};

void changeText(const CadDocument& document, const std::u16string& handle, const std::u16string& string)
{
    auto doc = document.session()->application()->get(u"ActiveDocument").toObject();
    doc->call(u"HandleToObject", {Variant(handle)}).toObject()->put(u"TextString", Variant(string));
}

std::u16string textOf(const QString& path, const std::u16string& handle)
{
    // The document owns the drawing the entity lives in: it must outlive the read.
    const CadDocument document = CadDocument::open(path);
    const TextEntity* text = document.session()->drawing().findText(handle);
    return text ? text->string : u"<none>";
}

TEST_F(CadDocumentTest, SampleHasNoFileToSaveTo)
{
    CadDocument sample = CadDocument::sample();
    EXPECT_FALSE(sample.canSave());
    EXPECT_FALSE(sample.session()->drawing().entities().empty());
    EXPECT_THROW(sample.save(), std::exception);
    EXPECT_THROW(sample.saveAs(folder.filePath(QStringLiteral("sample.dxf"))), std::exception);
    // Nothing can be saved, so nothing is reported unsaved.
    sample.session()->drawing().erase(handleOf(sample.session()->drawing().entities().front()));
    EXPECT_FALSE(sample.isModified());
}

TEST_F(CadDocumentTest, OpensAFileUnderItsNameAndSavesChangesBack)
{
    const QString path = write("plan.dxf", smallDxf);
    {
        CadDocument document = CadDocument::open(path);
        EXPECT_TRUE(document.canSave());
        EXPECT_EQ(document.session()->documentName, u"plan.dxf");
        auto doc = document.session()->application()->get(u"ActiveDocument").toObject();
        doc->call(u"HandleToObject", {Variant(u"2A")}).toObject()->put(u"TextString", Variant(u"WORLD"));
        document.save();
    }
    const CadDocument reopened = CadDocument::open(path);
    const TextEntity* text = reopened.session()->drawing().findText(u"2A");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->string, u"WORLD");
}

TEST_F(CadDocumentTest, ModifiedUntilSavedAndSaveAsMovesToTheNewFile)
{
    const QString path = write("plan.dxf", smallDxf);
    CadDocument document = CadDocument::open(path);
    EXPECT_FALSE(document.isModified());
    changeText(document, u"2A", u"WORLD");
    EXPECT_TRUE(document.isModified());

    // A failed save keeps the file, the name and the mark.
    EXPECT_THROW(document.saveAs(folder.filePath(QStringLiteral("missing/copy.dxf"))), std::exception);
    EXPECT_EQ(document.path(), path);
    EXPECT_TRUE(document.isModified());

    const QString copy = folder.filePath(QStringLiteral("copy.dxf"));
    document.saveAs(copy);
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(document.path(), copy);
    EXPECT_EQ(document.session()->documentName, u"copy.dxf");
    EXPECT_EQ(textOf(copy, u"2A"), u"WORLD");
    EXPECT_EQ(textOf(path, u"2A"), u"HELLO");

    // Later saves go to the new file.
    changeText(document, u"2A", u"AGAIN");
    document.save();
    EXPECT_EQ(textOf(copy, u"2A"), u"AGAIN");
    EXPECT_EQ(textOf(path, u"2A"), u"HELLO");
}

TEST_F(CadDocumentTest, AnotherFileOpensIntoTheSameSession)
{
    CadDocument document = CadDocument::open(write("plan.dxf", smallDxf));
    const auto session = document.session();
    const uint64_t generation = session->documentGeneration();
    changeText(document, u"2A", u"CHANGED");

    std::string other = smallDxf;
    other.replace(other.find("HELLO"), 5, "OTHER");
    document.openInSession(write("other.dxf", other.c_str()));
    EXPECT_EQ(document.session(), session);
    EXPECT_GT(session->documentGeneration(), generation);
    EXPECT_EQ(session->documentName, u"other.dxf");
    EXPECT_EQ(session->drawing().findText(u"2A")->string, u"OTHER");
    EXPECT_FALSE(document.isModified());

    // A file that cannot be read leaves the open one as it is.
    EXPECT_THROW(document.openInSession(write("broken.dxf", "0\nSECTION\n")), std::exception);
    EXPECT_EQ(session->documentName, u"other.dxf");
    EXPECT_EQ(session->drawing().findText(u"2A")->string, u"OTHER");
    EXPECT_TRUE(document.path().endsWith(QStringLiteral("other.dxf")));
}

TEST_F(CadDocumentTest, UnreadableFilesAreRefused)
{
    EXPECT_THROW(CadDocument::open(folder.filePath(QStringLiteral("missing.dxf"))), std::exception);
    EXPECT_THROW(CadDocument::open(write("broken.dxf", "0\nSECTION\n2\nENTITIES\n0\nTEXT\n10\nnot a number\n")),
                 std::exception);
}

}  // namespace
}  // namespace kelvocad
