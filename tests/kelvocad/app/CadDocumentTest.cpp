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

TEST_F(CadDocumentTest, SampleHasNoFileToSaveTo)
{
    const CadDocument sample = CadDocument::sample();
    EXPECT_FALSE(sample.canSave());
    EXPECT_FALSE(sample.session()->drawing().entities().empty());
    EXPECT_THROW(sample.save(), std::exception);
}

TEST_F(CadDocumentTest, OpensAFileUnderItsNameAndSavesChangesBack)
{
    const QString path = write("plan.dxf", smallDxf);
    {
        const CadDocument document = CadDocument::open(path);
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

TEST_F(CadDocumentTest, UnreadableFilesAreRefused)
{
    EXPECT_THROW(CadDocument::open(folder.filePath(QStringLiteral("missing.dxf"))), std::exception);
    EXPECT_THROW(CadDocument::open(write("broken.dxf", "0\nSECTION\n2\nENTITIES\n0\nTEXT\n10\nnot a number\n")),
                 std::exception);
}

}  // namespace
}  // namespace kelvocad
