#include "DxfTestSupport.h"

#include "common/CodePage.h"

#include "kelvocad/model/TextPlacement.h"

#include <cmath>
#include <numbers>

namespace kelvocad::test {
namespace {

struct AlignmentCase {
    int horizontal;
    int vertical;
    int alignment;  // the Automation Alignment value
};

// Every justification pair a CAD writes, and pairs that only an odd writer produces.
const AlignmentCase alignmentCases[] = {
    {0, 0, 0}, {1, 0, 1}, {2, 0, 2}, {3, 0, 3}, {4, 0, 4}, {5, 0, 5},
    {0, 3, 6}, {1, 3, 7}, {2, 3, 8}, {0, 2, 9}, {1, 2, 10}, {2, 2, 11}, {0, 1, 12}, {1, 1, 13}, {2, 1, 14},
    {3, 2, 3}, {4, 1, 4}, {5, 3, 5},  // aligned, middle and fit ignore the vertical code
    {9, 0, 0}, {-1, 2, 0},            // out of range: left
};

TEST(DxfRead, TextAlignmentAndItsPoints)
{
    for (const auto& c : alignmentCases) {
        SCOPED_TRACE(testing::Message() << "72=" << c.horizontal << " 73=" << c.vertical);
        const std::string bytes = dxfFile("AC1015", "", textRecord("2A", "t", {{50, "90"}, {72, std::to_string(c.horizontal)},
                                                                                {11, "7"}, {21, "8"}, {31, "9"},
                                                                                {73, std::to_string(c.vertical)}}));
        DxfFile file = DxfFile::parse(bytes, "a.dxf");
        const TextEntity* text = file.drawing()->findText(u"2A");
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->alignment, c.alignment);
        EXPECT_EQ(text->insertionPoint, (Point3{1.5, 2.5, 0.0}));
        EXPECT_EQ(text->alignmentPoint, (Point3{7, 8, 9}));
        EXPECT_DOUBLE_EQ(text->rotation, std::numbers::pi / 2);
    }
}

TEST(DxfRead, AlignmentWrittenBackReadsTheSame)
{
    for (int alignment = 0; alignment <= 14; ++alignment) {
        SCOPED_TRACE(alignment);
        for (const char* version : {"AC1009", "AC1015"}) {
            DxfFile file = DxfFile::parse(dxfFile(version, "", textRecord("2A", "t")), "a.dxf");
            file.drawing()->modifyText(u"2A", [&](TextEntity& t) { changeAlignment(t, alignment); });
            DxfFile again = DxfFile::parse(file.serialize(), "b.dxf");
            const TextEntity* text = again.drawing()->findText(u"2A");
            ASSERT_NE(text, nullptr);
            EXPECT_EQ(text->alignment, alignment);
            EXPECT_EQ(text->alignmentPoint, (Point3{1.5, 2.5, 0.0}));
        }
    }
}

struct DecodeCase {
    const char* name;
    std::string version;
    std::string codePage;
    std::string bytes;
    std::u16string expected;
};

TEST(DxfRead, TextsDecodeByVersionAndCodePage)
{
    const DecodeCase cases[] = {
        {"1252 by default", "AC1015", "", "Gr\xFC\xDF" "e", u"Grüße"},
        {"1250", "AC1015", "ANSI_1250", "\x8A\xE8", u"Šč"},
        {"1251", "AC1015", "ANSI_1251", "\xC6", u"Ж"},
        {"1253", "AC1018", "ANSI_1253", "\xD9", u"Ω"},
        {"932", "AC1009", "ANSI_932", "\x93\xFA\x96\x7B", u"日本"},
        {"932 trail byte 5C is no escape", "AC1009", "ANSI_932", "\x95\x5CU+0041", u"表U+0041"},
        {"932 half-width katakana", "AC1009", "ANSI_932", "\xB6\xC0", u"ｶﾀ"},
        {"escape in a code-page file", "AC1015", "ANSI_1252", "a\\U+65E5b", u"a日b"},
        {"lower-case escape digits", "AC1015", "ANSI_1252", "\\U+03a9", u"Ω"},
        {"incomplete escape kept", "AC1015", "ANSI_1252", "x\\U+12", u"x\\U+12"},
        {"double-byte escape", "AC1015", "ANSI_1252", "\\M+193FA", u"日"},
        {"UTF-8 from AC1021, code page ignored", "AC1021", "ANSI_1252", "\xE6\x97\xA5\\U+0416", u"日Ж"},
        {"UTF-8 in R2018", "AC1032", "", "\xF0\x9F\x98\x80", u"\U0001F600"},
        {"line breaks", "AC1015", "", "a^Jb^Mc^ J", u"a\nb\rc^J"},
        {"unknown code page reads as 1252", "AC1015", "ANSI_99999", "\xE9", u"é"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DxfFile file = DxfFile::parse(dxfFile(c.version, c.codePage, textRecord("2A", c.bytes, {{8, c.bytes}})), "a.dxf");
        const TextEntity* text = file.drawing()->findText(u"2A");
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->string, c.expected);
    }
}

// Japanese drafting programs write R12 files in Shift_JIS without $DWGCODEPAGE. Where the
// system has no ANSI code page of its own, the program takes 932 for such text.
TEST(DxfRead, AFileWithoutACodePageReadsInTheSystemsCodePageWhenItIsValidThere)
{
    if (common::ansiCodePage() != 932)
        GTEST_SKIP() << "the system's ANSI code page is not 932";
    const DecodeCase cases[] = {
        {"half-width katakana, NEC special, wave dash, backslash, kanji", "AC1009", "",
         "\xC3\xBD\xC4\x87\x40\x81\x60\x5C\x93\xFA", u"ﾃｽﾄ①～\\日"},
        {"a later version too", "AC1015", "", "\x93\xFA\x96\x7B", u"日本"},
        {"not Shift_JIS: 1252 as before", "AC1009", "", "Gr\xFC\xDF" "e", u"Grüße"},
        {"ASCII only", "AC1009", "", "a\\b", u"a\\b"},
        {"a code page named wins", "AC1009", "ANSI_1252", "\x93\xFA", u"“ú"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DxfFile file = DxfFile::parse(dxfFile(c.version, c.codePage, textRecord("2A", c.bytes)), "a.dxf");
        const TextEntity* text = file.drawing()->findText(u"2A");
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->string, c.expected);
    }
}

TEST(DxfRead, LayersBlocksAndAttributes)
{
    const Groups groups{
        {0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, "AC1009"}, {0, "ENDSEC"},
        {0, "SECTION"}, {2, "TABLES"}, {0, "TABLE"}, {2, "LAYER"}, {70, "2"},
        {0, "LAYER"}, {2, "Frozen"}, {70, "1"}, {0, "LAYER"}, {2, "Locked"}, {70, "4"},
        {0, "LAYER"}, {2, "FrozenLocked"}, {70, "5"}, {0, "ENDTAB"}, {0, "ENDSEC"},
        {0, "SECTION"}, {2, "BLOCKS"}, {0, "BLOCK"}, {2, "B"}, {10, "1"}, {20, "1"}, {30, "0"},
        {0, "ATTDEF"}, {5, "40"}, {10, "3"}, {20, "4"}, {30, "0"}, {40, "2"}, {1, "def"}, {3, "prompt"}, {2, "TAG"},
        {72, "1"}, {74, "2"}, {0, "ENDBLK"}, {0, "ENDSEC"},
        {0, "SECTION"}, {2, "ENTITIES"},
        {0, "INSERT"}, {5, "50"}, {8, "Locked"}, {66, "1"}, {2, "B"}, {10, "10"}, {20, "20"}, {30, "0"},
        {0, "ATTRIB"}, {5, "51"}, {8, "0"}, {10, "12"}, {20, "23"}, {30, "0"}, {40, "2"}, {1, "value"}, {2, "TAG"},
        {72, "2"}, {74, "1"}, {11, "13"}, {21, "24"}, {31, "0"},
        {0, "SEQEND"}, {5, "52"}, {8, "0"},
        {0, "TEXT"}, {5, "53"}, {67, "1"}, {10, "0"}, {20, "0"}, {30, "0"}, {40, "1"}, {1, "paper"},
        {0, "ENDSEC"}, {0, "EOF"}};
    DxfFile file = DxfFile::parse(dxfText(groups), "a.dxf");
    const Drawing& drawing = *file.drawing();
    EXPECT_FALSE(drawing.isLayerLocked(u"Frozen"));
    EXPECT_TRUE(drawing.isLayerLocked(u"Locked"));
    EXPECT_TRUE(drawing.isLayerLocked(u"FrozenLocked"));

    const BlockDefinition* block = drawing.findBlock(u"B");
    ASSERT_NE(block, nullptr);
    ASSERT_EQ(block->attributes.size(), 1u);
    EXPECT_EQ(block->attributes[0].tag, u"TAG");
    EXPECT_EQ(block->attributes[0].prompt, u"prompt");
    EXPECT_EQ(block->attributes[0].defaultValue, u"def");
    EXPECT_EQ(block->attributes[0].handle, u"40");
    EXPECT_EQ(block->attributes[0].alignment, 10);
    EXPECT_EQ(block->attributes[0].insertionPoint, (Point3{2, 3, 0}));

    ASSERT_EQ(drawing.entities().size(), 1u);  // the paper-space text is not model space
    const BlockReference* reference = drawing.findBlockReference(u"50");
    ASSERT_NE(reference, nullptr);
    EXPECT_EQ(reference->layer, u"Locked");
    ASSERT_EQ(reference->attributes.size(), 1u);
    const AttributeReference& attribute = reference->attributes[0];
    EXPECT_EQ(attribute.handle, u"51");
    EXPECT_EQ(attribute.string, u"value");
    EXPECT_EQ(attribute.alignment, 14);
    EXPECT_EQ(attribute.alignmentPoint, (Point3{13, 24, 0}));

    // Written back with nothing changed, every group stays.
    EXPECT_EQ(file.serialize(), dxfText(groups));
}

}  // namespace
}  // namespace kelvocad::test
