#include "DxfTestSupport.h"

#include "common/CodePage.h"

#include "kelvocad/model/TextPlacement.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace kelvocad::test {
namespace {

// The value of the first group with this code in the record whose handle (5) is given.
std::string groupOf(const std::string& bytes, const std::string& handle, int code)
{
    std::vector<std::pair<std::string, std::string>> groups;
    std::istringstream in(bytes);
    std::string codeLine, valueLine;
    while (std::getline(in, codeLine) && std::getline(in, valueLine))
        groups.emplace_back(codeLine, valueLine);
    for (size_t i = 0; i < groups.size(); ++i) {
        if (groups[i].first != "5" || groups[i].second != handle)
            continue;
        size_t record = i;
        while (record > 0 && groups[record].first != "0")
            --record;
        for (size_t j = record + 1; j < groups.size() && groups[j].first != "0"; ++j)
            if (groups[j].first == std::to_string(code))
                return groups[j].second;
        return "<no group " + std::to_string(code) + ">";
    }
    return "<no record " + handle + ">";
}

struct EncodeCase {
    const char* name;
    std::string version;
    std::string codePage;
    std::u16string text;
    std::string bytes;  // as written
};

TEST(DxfWrite, ChangedTextsAreEncodedForTheFilesVersion)
{
    const EncodeCase cases[] = {
        {"1252", "AC1015", "ANSI_1252", u"Grüße Ω", "Gr\xFC\xDF" "e \\U+03A9"},
        // Without a code page an ASCII file is in the system's: 932 here, which has no é or €.
        {"default code page", "AC1018", "", u"é€", "\\U+00E9\\U+20AC"},
        {"1251", "AC1015", "ANSI_1251", u"Жé", "\xC6\\U+00E9"},
        {"932", "AC1009", "ANSI_932", u"日本ｶＡԱ", "\x93\xFA\x96\x7B\xB6\x82\x60\\U+0531"},
        {"outside the BMP in a code page", "AC1015", "ANSI_1252", u"\U0001F600", "\\U+D83D\\U+DE00"},
        {"UTF-8", "AC1021", "ANSI_932", u"日Ա\U0001F600", "\xE6\x97\xA5\xD4\xB1\xF0\x9F\x98\x80"},
        {"line breaks cannot break the file", "AC1032", "", u"a\nb\r\x01^J", "a^Jb^M\\U+0001^ J"},
        {"a backslash that would read as an escape", "AC1015", "", u"\\U+0041 \\M+193FA \\U+12 \\", "\\U+005CU+0041 \\U+005CM+193FA \\U+12 \\"},
        {"the same in UTF-8", "AC1032", "", u"\\u+00e9", "\\U+005Cu+00e9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DxfFile file = DxfFile::parse(dxfFile(c.version, c.codePage, textRecord("2A", "old")), "a.dxf");
        file.drawing()->modifyText(u"2A", [&](TextEntity& t) { t.string = c.text; });
        const std::string saved = file.serialize();
        EXPECT_EQ(groupOf(saved, "2A", 1), c.bytes);
        DxfFile again = DxfFile::parse(saved, "b.dxf");
        EXPECT_EQ(again.drawing()->findText(u"2A")->string, c.text);
    }
}

TEST(DxfWrite, AShiftJisFileWithoutACodePageIsSavedInShiftJis)
{
    if (common::ansiCodePage() != 932)
        GTEST_SKIP() << "the system's ANSI code page is not 932";
    const std::string original =
        dxfFile("AC1009", "", concat({textRecord("2A", "\xC3\xBD\xC4"), textRecord("2B", "\x87\x40\x81\x60\x5C")}));
    DxfFile file = DxfFile::parse(original, "a.dxf");
    EXPECT_EQ(file.serialize(), original) << "unchanged, nothing changes";

    // The wave dash U+301C has no place in code page 932: it is written as an escape.
    file.drawing()->modifyText(u"2A", [](TextEntity& t) { t.string = u"ｶﾅ①～〜\\"; });
    const std::string saved = file.serialize();
    EXPECT_EQ(groupOf(saved, "2A", 1), "\xB6\xC5\x87\x40\x81\x60\\U+301C\x5C");
    EXPECT_EQ(groupOf(saved, "2B", 1), "\x87\x40\x81\x60\x5C");
    EXPECT_EQ(saved.find("$DWGCODEPAGE"), std::string::npos);
    DxfFile again = DxfFile::parse(saved, "b.dxf");
    EXPECT_EQ(again.drawing()->findText(u"2A")->string, u"ｶﾅ①～〜\\");
    EXPECT_EQ(again.drawing()->findText(u"2B")->string, u"①～\\");

    const std::string ascii = dxfFile("AC1009", "", textRecord("2A", "plain \\ text"));
    EXPECT_EQ(DxfFile::parse(ascii, "c.dxf").serialize(), ascii);
}

TEST(DxfWrite, NewHandlesCollideWithNothingInTheFile)
{
    // Handles of things the model does not hold (a LINE, a DIMSTYLE's 105, an owner
    // pointer) lie above a stale $HANDSEED; a duplicate TEXT handle gets a fresh one.
    const Groups groups{
        {0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, "AC1015"}, {9, "$HANDSEED"}, {5, "30"}, {0, "ENDSEC"},
        {0, "SECTION"}, {2, "TABLES"}, {0, "TABLE"}, {2, "DIMSTYLE"}, {5, "A"},
        {0, "DIMSTYLE"}, {105, "2000"}, {2, "Standard"}, {0, "ENDTAB"}, {0, "ENDSEC"},
        {0, "SECTION"}, {2, "ENTITIES"},
        {0, "TEXT"}, {5, "2F"}, {330, "1F00"}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbText"},
        {10, "0"}, {20, "0"}, {30, "0"}, {40, "1"}, {1, "first"}, {100, "AcDbText"},
        {0, "LINE"}, {5, "1000"}, {8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {11, "1"}, {21, "1"}, {31, "0"},
        {0, "TEXT"}, {5, "2F"}, {8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {40, "1"}, {1, "duplicate"},
        {0, "TEXT"}, {5, "FFFFFFFFFFFFFFFF"}, {8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {40, "1"}, {1, "huge"},
        {0, "ENDSEC"}, {0, "EOF"}};
    DxfFile file = DxfFile::parse(dxfText(groups), "a.dxf");
    Drawing& drawing = *file.drawing();
    ASSERT_EQ(drawing.entities().size(), 3u);
    const std::u16string duplicate = handleOf(drawing.entities()[1]);
    EXPECT_EQ(handleOf(drawing.entities()[0]), u"2F");
    EXPECT_GT(std::stoull(std::string(duplicate.begin(), duplicate.end()), nullptr, 16), 0x2000u);
    // A handle too large to count on from gets a fresh one as well.
    const std::u16string huge = handleOf(drawing.entities()[2]);
    EXPECT_NE(huge, u"FFFFFFFFFFFFFFFF");

    const std::u16string copy = drawing.copyEntity(u"2F");
    const uint64_t copyValue = std::stoull(std::string(copy.begin(), copy.end()), nullptr, 16);
    EXPECT_GT(copyValue, 0x2000u);
    drawing.modifyText(copy, [](TextEntity& t) { t.string = u"copy"; });

    const std::string saved = file.serialize();
    DxfFile again = DxfFile::parse(saved, "b.dxf");
    const Drawing& reread = *again.drawing();
    ASSERT_EQ(reread.entities().size(), 4u);
    EXPECT_EQ(reread.findText(u"2F")->string, u"first");
    EXPECT_EQ(reread.findText(duplicate)->string, u"duplicate");
    ASSERT_NE(reread.findText(huge), nullptr);
    EXPECT_EQ(reread.findText(huge)->string, u"huge");
    EXPECT_EQ(reread.findText(copy)->string, u"copy");
    const size_t seedAt = saved.find("$HANDSEED\n5\n") + 12;
    const uint64_t seed = std::stoull(saved.substr(seedAt, saved.find('\n', seedAt) - seedAt), nullptr, 16);
    EXPECT_GT(seed, copyValue);
    EXPECT_NE(saved.find("LINE"), std::string::npos);
}

TEST(DxfWrite, ErasedEntitiesAreGoneWithTheirAttributes)
{
    const Groups entities{
        {0, "INSERT"}, {5, "50"}, {8, "0"}, {66, "1"}, {2, "B"}, {10, "10"}, {20, "20"}, {30, "0"},
        {0, "ATTRIB"}, {5, "51"}, {8, "0"}, {10, "12"}, {20, "23"}, {30, "0"}, {40, "2"}, {1, "value"}, {2, "TAG"},
        {0, "SEQEND"}, {5, "52"}, {8, "0"},
        {0, "TEXT"}, {5, "60"}, {8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {40, "1"}, {1, "stays"}};
    DxfFile file = DxfFile::parse(dxfFile("AC1009", "", entities), "a.dxf");
    file.drawing()->erase(u"50");
    const std::string saved = file.serialize();
    EXPECT_EQ(saved.find("ATTRIB"), std::string::npos);
    EXPECT_EQ(saved.find("SEQEND"), std::string::npos);
    EXPECT_NE(saved.find("stays"), std::string::npos);

    // Undone before the next save, the reference is written again as it was.
    file.drawing()->undoLastStep();
    EXPECT_EQ(file.serialize(), dxfFile("AC1009", "", entities));
}

TEST(DxfWrite, MovedAndChangedGroupsOnlyChangeThemselves)
{
    const Groups entities = textRecord("2A", "t", {{1001, "APP"}, {1000, "kept"}});
    DxfFile file = DxfFile::parse(dxfFile("AC1015", "", entities), "a.dxf");
    file.drawing()->modifyText(u"2A", [](TextEntity& t) {
        placeByInsertionPoint(t, Point3{-3.25, 1e10, 7});
        t.height = 4;
    });
    const std::string saved = file.serialize();
    EXPECT_EQ(saved, dxfFile("AC1015", "", {{0, "TEXT"}, {5, "2A"}, {8, "0"}, {10, "-3.25"}, {20, "1e+10"},
                                            {30, "7.0"}, {40, "4.0"}, {1, "t"}, {1001, "APP"}, {1000, "kept"}}));
}

TEST(DxfWrite, LayerLocksAndNewLayers)
{
    const Groups groups{
        {0, "SECTION"}, {2, "TABLES"}, {0, "TABLE"}, {2, "LAYER"}, {5, "2"}, {100, "AcDbSymbolTable"}, {70, "2"},
        {0, "LAYER"}, {5, "10"}, {100, "AcDbSymbolTableRecord"}, {100, "AcDbLayerTableRecord"}, {2, "0"}, {70, "0"},
        {0, "LAYER"}, {5, "11"}, {100, "AcDbSymbolTableRecord"}, {100, "AcDbLayerTableRecord"}, {2, "L"}, {70, "5"},
        {0, "ENDTAB"}, {0, "ENDSEC"}, {0, "EOF"}};
    const std::string header = dxfText({{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, "AC1015"}, {0, "ENDSEC"}});
    DxfFile file = DxfFile::parse(header + dxfText(groups), "a.dxf");
    Drawing& drawing = *file.drawing();
    drawing.setLayerLocked(u"0", true);
    drawing.setLayerLocked(u"L", false);
    drawing.addLayer(u"Neu", true);
    DxfFile again = DxfFile::parse(file.serialize(), "b.dxf");
    EXPECT_TRUE(again.drawing()->isLayerLocked(u"0"));
    EXPECT_FALSE(again.drawing()->isLayerLocked(u"L"));
    ASSERT_NE(again.drawing()->findLayer(u"Neu"), nullptr);
    EXPECT_TRUE(again.drawing()->isLayerLocked(u"Neu"));
    EXPECT_NE(file.serialize().find("70\n1\n"), std::string::npos);  // L keeps its frozen bit
}

TEST(DxfWrite, SaveWritesTheFileAndReportsFailures)
{
    const auto folder = std::filesystem::temp_directory_path() / ("kelvo-dxf-write-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    DxfFile file = DxfFile::parse(dxfFile("AC1015", "", textRecord("2A", "t")), "a.dxf");
    file.drawing()->modifyText(u"2A", [](TextEntity& t) { t.string = u"saved"; });
    file.save(folder / "out.dxf");
    EXPECT_EQ(DxfFile::open(folder / "out.dxf").drawing()->findText(u"2A")->string, u"saved");
    try {
        file.save(folder / "no-such-folder" / "out.dxf");
        ADD_FAILURE() << "saving into a missing folder succeeded";
    } catch (const DxfError& error) {
        EXPECT_NE(std::string(error.what()).find("no-such-folder"), std::string::npos) << error.what();
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace kelvocad::test
