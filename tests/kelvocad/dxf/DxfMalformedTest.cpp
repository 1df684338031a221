#include "DxfTestSupport.h"
#include "fuzz/DxfRoundTrip.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace kelvocad::test {
namespace {

using namespace std::string_literals;

const std::string header = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n";  // lines 1-10
const std::string entities = "0\nSECTION\n2\nENTITIES\n";                                    // lines 11-14

struct BadCase {
    const char* name;
    std::string bytes;
    size_t line;  // 0: the fault is not at a line
    const char* reason;
};

TEST(DxfMalformed, ClearErrorWithFileAndLine)
{
    const BadCase cases[] = {
        {"empty", "", 0, "empty"},
        {"only blank lines", "\r\n\n  \n", 0, "empty"},
        {"binary DXF", "AutoCAD Binary DXF\r\n\x1a\0\0\x01"s, 1, "binary"},
        {"NUL bytes", "0\nSEC\0TION\n"s, 2, "binary"},
        {"NUL in a value", header + entities + "0\nTEXT\n1\nab\0c\n"s, 18, "binary"},
        {"text, not DXF", "hello world\n", 1, "group code expected"},
        {"odd group code", header + "abc\nx\n", 11, "group code expected"},
        {"unknown group code", header + "5000\nx\n", 11, "unknown group code"},
        {"negative group code", header + "-1\nx\n", 11, "unknown group code"},
        {"value missing at the end", header + entities + "0\nTEXT\n5\n", 17, "ends before the value"},
        {"truncated: no EOF", header + entities + "0\nTEXT\n5\n2A\n", 18, "without EOF"},
        {"section not closed", header + entities + "0\nTEXT\n0\nEOF\n", 17, "not closed by ENDSEC"},
        {"non-numeric coordinate", header + entities + "0\nTEXT\n10\n1,5\n0\nENDSEC\n0\nEOF\n", 18, "number expected"},
        {"empty number", header + entities + "0\nTEXT\n40\n\n0\nENDSEC\n0\nEOF\n", 18, "number expected"},
        {"number too large", header + entities + "0\nTEXT\n40\n1e999\n0\nENDSEC\n0\nEOF\n", 18, "number expected"},
        {"not a number", header + entities + "0\nTEXT\n40\nnan\n0\nENDSEC\n0\nEOF\n", 18, "number expected"},
        {"integer too large", header + entities + "0\nTEXT\n72\n99999999999999999999\n0\nENDSEC\n0\nEOF\n", 18, "integer expected"},
        {"integer with a fraction", header + entities + "0\nTEXT\n72\n1.5\n0\nENDSEC\n0\nEOF\n", 18, "integer expected"},
        {"bad handle", header + entities + "0\nTEXT\n5\nXYZ\n0\nENDSEC\n0\nEOF\n", 18, "handle expected"},
        {"handle too long", header + entities + "0\nTEXT\n5\n12345678901234567\n0\nENDSEC\n0\nEOF\n", 18, "handle expected"},
        {"no SECTION", "0\nTEXT\n1\nx\n0\nEOF\n", 1, "SECTION expected"},
        {"section without name", "0\nSECTION\n0\nENDSEC\n0\nEOF\n", 3, "section name"},
        {"application group not closed", header + entities + "0\nTEXT\n102\n{APP\n1\nx\n0\nENDSEC\n0\nEOF\n", 17, "not closed by 102 }"},
        {"two ENTITIES sections", header + entities + "0\nENDSEC\n" + entities + "0\nENDSEC\n0\nEOF\n", 17, "second ENTITIES"},
        {"entities start with a value", header + entities + "8\n0\n0\nENDSEC\n0\nEOF\n", 15, "entity (group 0) expected"},
        {"attributes without SEQEND", header + entities + "0\nINSERT\n66\n1\n0\nATTRIB\n0\nENDSEC\n0\nEOF\n", 15, "SEQEND"},
        {"other entity among attributes", header + entities + "0\nINSERT\n66\n1\n0\nLINE\n0\nSEQEND\n0\nENDSEC\n0\nEOF\n", 19, "ATTRIB or SEQEND expected"},
        {"unsupported version", "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1040\n0\nENDSEC\n0\nEOF\n", 8, "unsupported DXF version"},
        {"garbage version", "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC10x5\n0\nENDSEC\n0\nEOF\n", 8, "unsupported DXF version"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            DxfFile::parse(c.bytes, "/some/folder/bad.dxf");
            ADD_FAILURE() << "no error";
        } catch (const DxfError& error) {
            EXPECT_EQ(error.line(), c.line) << error.what();
            EXPECT_NE(error.reason().find(c.reason), std::string::npos) << error.what();
            const std::string what = error.what();
            EXPECT_EQ(what.rfind("/some/folder/bad.dxf: ", 0), 0u) << what;
            if (c.line != 0) {
                EXPECT_NE(what.find("line " + std::to_string(c.line) + ": "), std::string::npos) << what;
            }
        }
    }
}

TEST(DxfMalformed, OddButValidFilesRead)
{
    // CR LF endings, codes padded with spaces, a BOM, comments, a final line without a
    // line break, no HEADER: all read, and an unchanged save gives the same groups back.
    const std::string bytes =
        "\xEF\xBB\xBF" "999\r\nmade by hand\r\n  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nTEXT\r\n  5\r\n1A\r\n 10\r\n"
        " 1.0 \r\n 20\r\n+2\r\n 40\r\n1E1\r\n  1\r\n  spaced  \r\n  0\r\nENDSEC\r\n  0\r\nEOF";
    DxfFile file = DxfFile::parse(bytes, "odd.dxf");
    const TextEntity* text = file.drawing()->findText(u"1A");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->string, u"  spaced  ");
    EXPECT_EQ(text->insertionPoint, (Point3{1, 2, 0}));
    EXPECT_EQ(text->height, 10.0);
    EXPECT_EQ(file.acadVersion(), "AC1009");
    EXPECT_EQ(file.serialize(), bytes.substr(3) + "\r\n");
}

TEST(DxfMalformed, MissingOrUnreadableFile)
{
    const auto folder = std::filesystem::temp_directory_path();
    for (const auto& path : {folder / "kelvo-no-such-file.dxf", folder}) {
        SCOPED_TRACE(path.string());
        try {
            DxfFile::open(path);
            ADD_FAILURE() << "no error";
        } catch (const DxfError& error) {
            EXPECT_EQ(error.path(), path);
            EXPECT_EQ(error.line(), 0u);
            EXPECT_FALSE(error.reason().empty());
        }
    }
}

// Inputs the fuzzer found faults with, kept in fuzz/findings: each must give a DxfError,
// or read, be edited, saved and read back as it was written.
TEST(DxfMalformed, FuzzerFindings)
{
    const auto folder = std::filesystem::path(KELVO_DXF_SCRIPTS) / "fuzz" / "findings";
    size_t replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(checkDxfRoundTrip(bytes), "");
        ++replayed;
    }
    EXPECT_GT(replayed, 0u) << "no findings in " << folder;
    EXPECT_EQ(checkDxfRoundTrip("0\nEOF\n"), "");
}

}  // namespace
}  // namespace kelvocad::test
