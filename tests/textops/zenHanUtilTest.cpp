#include "textops/WidthDivergences.h"
#include "textops/zenHanUtil.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <vector>

namespace textops {
namespace {

using Routine = void (*)(std::u16string&, const MessagePump&);

struct TableCase {
    const char* name;
    Routine routine;
    std::u16string input;
    std::u16string expected;
};

void PrintTo(const TableCase& c, std::ostream* os)
{
    *os << c.name;
}

TEST(ZenHanTable, GroupsHoldTheirCharactersInTableOrder)
{
    for (size_t k = 0; k < 10; ++k) {
        EXPECT_EQ(zenHanTable[k], std::u16string(1, static_cast<char16_t>(0xFF10 + k)));
        EXPECT_EQ(zenHanTable[10 + k], std::u16string(1, static_cast<char16_t>(u'0' + k)));
        EXPECT_EQ(zenHanTable[358 + k], zenHanTable[k]);
        EXPECT_EQ(zenHanTable[372 + k], zenHanTable[10 + k]);
    }
    for (size_t k = 0; k < 26; ++k) {
        EXPECT_EQ(zenHanTable[20 + k], std::u16string(1, static_cast<char16_t>(0xFF21 + k)));
        EXPECT_EQ(zenHanTable[46 + k], std::u16string(1, static_cast<char16_t>(0xFF41 + k)));
        EXPECT_EQ(zenHanTable[72 + k], std::u16string(1, static_cast<char16_t>(u'A' + k)));
        EXPECT_EQ(zenHanTable[98 + k], std::u16string(1, static_cast<char16_t>(u'a' + k)));
    }
    const std::u16string numericSigns[][2] = {{u"＋", u"+"}, {u"－", u"-"}, {u"．", u"."}, {u"，", u","}};
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(zenHanTable[368 + k], numericSigns[k][0]);
        EXPECT_EQ(zenHanTable[382 + k], numericSigns[k][1]);
    }
}

TEST(ZenHanTable, SymbolRowsThatDifferFromTheCompatibilityPairs)
{
    struct Row { size_t k; char16_t full; char16_t half; };
    const Row rows[] = {{2, u'\u201D', u'"'}, {7, u'\u2019', u'\''}, {8, u'\u3000', u' '},
                        {28, u'\u2018', u'`'}, {33, u'\uFFE5', u'\\'}, {31, u'\uFF5C', u'|'}, {30, u'\uFF5D', u'}'}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.k);
        EXPECT_EQ(zenHanTable[124 + row.k - 1], std::u16string(1, row.full));
        EXPECT_EQ(zenHanTable[157 + row.k - 1], std::u16string(1, row.half));
    }
    std::set<std::u16string_view> full(zenHanTable.begin() + 124, zenHanTable.begin() + 157);
    for (char16_t absent : {u'\uFF02', u'\uFF07', u'\uFF40', u'\uFF3C'})
        EXPECT_EQ(full.count(std::u16string(1, absent)), 0u);
}

TEST(ZenHanTable, KatakanaStartsWithTheVoicedFormsAndPairsWithHalfWidthForms)
{
    EXPECT_EQ(zenHanTable[190], u"ヴ");
    EXPECT_EQ(zenHanTable[274], u"ｳﾞ");
    EXPECT_EQ(zenHanTable[211], u"パ");
    EXPECT_EQ(zenHanTable[295], u"ﾊﾟ");
    EXPECT_EQ(zenHanTable[226], u"ー");
    EXPECT_EQ(zenHanTable[310], u"ｰ");
    EXPECT_EQ(zenHanTable[272], u"「");
    EXPECT_EQ(zenHanTable[357], u"｣");
    for (size_t k = 0; k < 84; ++k) {
        SCOPED_TRACE(k);
        const std::u16string_view full = zenHanTable[190 + k];
        const std::u16string_view half = zenHanTable[274 + k];
        ASSERT_EQ(full.size(), 1u);
        // The 26 voiced and semi-voiced forms first, each a base and its sound mark.
        if (k < 26) {
            ASSERT_EQ(half.size(), 2u);
            EXPECT_TRUE(half[1] == u'\uFF9E' || half[1] == u'\uFF9F');
        } else {
            ASSERT_EQ(half.size(), 1u);
        }
        EXPECT_GE(half[0], u'\uFF61');
        EXPECT_LE(half[0], u'\uFF9D');
    }
}

// Every pair that is a plain compatibility pair agrees with the platform's width mapping.
TEST(ZenHanTable, PlainPairsAgreeWithTheWholeConversion)
{
    const std::set<size_t> differing = {124 + 1, 124 + 6, 124 + 27, 124 + 32};
    struct Group { size_t fullFirst, halfFirst, pairs; };
    for (const Group& g : {Group{0, 10, 10}, Group{20, 72, 52}, Group{124, 157, 33}, Group{190, 274, 84},
                           Group{358, 372, 14}}) {
        for (size_t k = 0; k < g.pairs; ++k) {
            if (differing.count(g.fullFirst + k))
                continue;
            SCOPED_TRACE(g.fullFirst + k);
            std::u16string full(zenHanTable[g.fullFirst + k]);
            std::u16string half(zenHanTable[g.halfFirst + k]);
            ToHanAll(full);
            ToZenAll(half);
            EXPECT_EQ(full, zenHanTable[g.halfFirst + k]);
            EXPECT_EQ(half, zenHanTable[g.fullFirst + k]);
        }
    }
}

class TableRoutine : public testing::TestWithParam<TableCase> {};

TEST_P(TableRoutine, Converts)
{
    std::u16string text = GetParam().input;
    GetParam().routine(text, {});
    EXPECT_EQ(text, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, TableRoutine, testing::Values(
    TableCase{"KanaVoicedBeforeBase", ToZenKana, u"ｶﾞｷﾞﾊﾟｰ", u"ガギパー"},
    TableCase{"KanaLoneMarkStays", ToZenKana, u"ﾞｱﾟ", u"ﾞアﾟ"},
    TableCase{"KanaVuAndBrackets", ToZenKana, u"｢ｳﾞｧｲｵﾘﾝ｣", u"「ヴァイオリン」"},
    TableCase{"KanaOutsideTheTable", ToZenKana, u"ﾜﾞ｡､･ABC", u"ワﾞ｡､･ABC"},
    TableCase{"KanaToHalf", ToHanKana, u"ガギパー「ヴ」", u"ｶﾞｷﾞﾊﾟｰ｢ｳﾞ｣"},
    TableCase{"KanaToHalfLeavesOthers", ToHanKana, u"ヰヱヮヵヶかなＡ", u"ヰヱヮヵヶかなＡ"},
    TableCase{"SymbolsToHalf", ToHanSymbol, u"”’‘￥\u3000＂＇｀＼", u"\"'`\\ ＂＇｀＼"},
    TableCase{"SymbolsToFull", ToZenSymbol, u"a b\\\"'`~|", u"a\u3000b￥”’‘～｜"},
    TableCase{"NumericToFull", ToZenNumeric, u"-1.5,+2", u"－１．５，＋２"},
    TableCase{"NumericLeavesLetters", ToZenNumeric, u"A-1/x", u"A－１/x"},
    TableCase{"NumericToHalf", ToHanNumeric, u"－１．５，＋２Ａ", u"-1.5,+2Ａ"},
    TableCase{"DigitsOnly", ToZenDigit, u"-1.5,+2", u"-１.５,+２"},
    TableCase{"DigitsToHalf", ToHanDigit, u"－１．５", u"－1．5"},
    TableCase{"LettersToFull", ToZenAlpha, u"Ab1-z", u"Ａｂ1-ｚ"},
    TableCase{"LettersToHalf", ToHanAlpha, u"Ａｂ１ｚ", u"Ab１z"},
    TableCase{"EmptyText", ToZenKana, u"", u""}),
    [](const testing::TestParamInfo<TableCase>& info) { return std::string(info.param.name); });

TEST(TableConversion, PumpsOncePerPair)
{
    struct Expect { Routine routine; int passes; };
    for (const Expect& e : {Expect{ToZenKana, 84}, Expect{ToHanKana, 84}, Expect{ToZenDigit, 10},
                            Expect{ToHanNumeric, 14}, Expect{ToZenAlpha, 52}, Expect{ToHanSymbol, 33}}) {
        int pumps = 0;
        std::u16string text = u"x";
        e.routine(text, [&] { ++pumps; });
        EXPECT_EQ(pumps, e.passes);
    }
}

TEST(ReplaceEvery, ReplacesWithoutOverlapAndWithoutRescanning)
{
    EXPECT_EQ(replaceEvery(u"aaaa", u"aa", u"a"), u"aa");
    EXPECT_EQ(replaceEvery(u"abab", u"ab", u"abab"), u"abababab");
    EXPECT_EQ(replaceEvery(u"xyz", u"", u"q"), u"xyz");
    EXPECT_EQ(replaceEvery(u"a-b-", u"-", u""), u"ab");
}

struct WholeCase {
    std::u16string input;
    std::u16string expected;
};

TEST(WholeConversion, ToFullWidth)
{
    const WholeCase cases[] = {
        {u"ｶﾞｷﾞﾊﾟｰ", u"ガギパー"},
        {u"A b~1", u"Ａ\u3000ｂ～１"},
        {u"\"", u"＂"},
        {u"｢ｳﾞ｣｡", u"「ヴ」。"},
        {u"漢字かなカナＡ", u"漢字かなカナＡ"},
        {u"", u""},
    };
    for (const WholeCase& c : cases) {
        std::u16string text = c.input;
        ToZenAll(text);
        EXPECT_EQ(text, c.expected);
    }
}

TEST(WholeConversion, ToHalfWidth)
{
    const WholeCase cases[] = {
        {u"ガギパー", u"ｶﾞｷﾞﾊﾟｰ"},
        {u"Ａ\u3000ｂ～１", u"A b~1"},
        {u"＂", u"\""},
        {u"「ヴ」。・", u"｢ｳﾞ｣｡･"},
        {u"漢字かなabc", u"漢字かなabc"},
        {u"", u""},
    };
    for (const WholeCase& c : cases) {
        std::u16string text = c.input;
        ToHanAll(text);
        EXPECT_EQ(text, c.expected);
    }
}

#ifndef _WIN32
// Where ICU maps the widths: lone sound marks become the spacing marks and back, and signs
// that merely have a rarely used half-width form stay.
TEST(WholeConversion, SoundMarksAndSignsOutsideTheTextRanges)
{
    std::u16string full = u"ﾞｱﾞｶﾞﾞﾟ";
    ToZenAll(full);
    EXPECT_EQ(full, u"゛ア゛ガ゛゜");
    std::u16string half = u"゛゜○■←│＼";
    ToHanAll(half);
    EXPECT_EQ(half, u"ﾞﾟ○■←│\\");
    std::u16string backslash = u"\\";
    ToZenAll(backslash);
    EXPECT_EQ(backslash, u"＼");
}

// What the program gives here, where its mapping parts from the Windows one.
TEST(WholeConversion, WhereIcuDiffersFromLcMapString)
{
    for (const test::WidthDivergence& d : test::kWidthDivergences) {
        SCOPED_TRACE(d.what);
        std::u16string text = d.input;
        if (d.toFull)
            ToZenAll(text);
        else
            ToHanAll(text);
        EXPECT_EQ(text, d.icu);
        EXPECT_NE(text, d.windows) << "ICU maps this as the Windows program does";
    }
}
#endif

}  // namespace
}  // namespace textops
