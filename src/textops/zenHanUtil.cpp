#include "textops/zenHanUtil.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <memory>
#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/unistr.h>
#endif

namespace textops {

const std::array<std::u16string_view, zenHanTableSize> zenHanTable = {
    // digits, full width (0-9)
    u"０", u"１", u"２", u"３", u"４", u"５", u"６", u"７", u"８", u"９",
    // digits, half width (10-19)
    u"0", u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9",
    // letters, full width (20-71)
    u"Ａ", u"Ｂ", u"Ｃ", u"Ｄ", u"Ｅ", u"Ｆ", u"Ｇ", u"Ｈ", u"Ｉ", u"Ｊ", u"Ｋ", u"Ｌ", u"Ｍ",
    u"Ｎ", u"Ｏ", u"Ｐ", u"Ｑ", u"Ｒ", u"Ｓ", u"Ｔ", u"Ｕ", u"Ｖ", u"Ｗ", u"Ｘ", u"Ｙ", u"Ｚ",
    u"ａ", u"ｂ", u"ｃ", u"ｄ", u"ｅ", u"ｆ", u"ｇ", u"ｈ", u"ｉ", u"ｊ", u"ｋ", u"ｌ", u"ｍ",
    u"ｎ", u"ｏ", u"ｐ", u"ｑ", u"ｒ", u"ｓ", u"ｔ", u"ｕ", u"ｖ", u"ｗ", u"ｘ", u"ｙ", u"ｚ",
    // letters, half width (72-123)
    u"A", u"B", u"C", u"D", u"E", u"F", u"G", u"H", u"I", u"J", u"K", u"L", u"M",
    u"N", u"O", u"P", u"Q", u"R", u"S", u"T", u"U", u"V", u"W", u"X", u"Y", u"Z",
    u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h", u"i", u"j", u"k", u"l", u"m",
    u"n", u"o", u"p", u"q", u"r", u"s", u"t", u"u", u"v", u"w", u"x", u"y", u"z",
    // symbols, full width (124-156)
    u"！", u"\u201D", u"＃", u"＄", u"％", u"＆", u"\u2019", u"\u3000", u"（", u"）", u"＊",
    u"＋", u"，", u"－", u"．", u"／", u"：", u"；", u"＜", u"＝", u"＞", u"？",
    u"＠", u"［", u"］", u"＾", u"＿", u"\u2018", u"｛", u"｝", u"｜", u"～", u"￥",
    // symbols, half width (157-189)
    u"!", u"\"", u"#", u"$", u"%", u"&", u"'", u" ", u"(", u")", u"*",
    u"+", u",", u"-", u".", u"/", u":", u";", u"<", u"=", u">", u"?",
    u"@", u"[", u"]", u"^", u"_", u"`", u"{", u"}", u"|", u"~", u"\\",
    // katakana, full width (190-273)
    u"ヴ", u"ガ", u"ギ", u"グ", u"ゲ", u"ゴ", u"ザ", u"ジ", u"ズ", u"ゼ", u"ゾ", u"ダ",
    u"ヂ", u"ヅ", u"デ", u"ド", u"バ", u"ビ", u"ブ", u"ベ", u"ボ", u"パ", u"ピ", u"プ",
    u"ペ", u"ポ", u"ヲ", u"ァ", u"ィ", u"ゥ", u"ェ", u"ォ", u"ャ", u"ュ", u"ョ", u"ッ",
    u"ー", u"ア", u"イ", u"ウ", u"エ", u"オ", u"カ", u"キ", u"ク", u"ケ", u"コ", u"サ",
    u"シ", u"ス", u"セ", u"ソ", u"タ", u"チ", u"ツ", u"テ", u"ト", u"ナ", u"ニ", u"ヌ",
    u"ネ", u"ノ", u"ハ", u"ヒ", u"フ", u"ヘ", u"ホ", u"マ", u"ミ", u"ム", u"メ", u"モ",
    u"ヤ", u"ユ", u"ヨ", u"ラ", u"リ", u"ル", u"レ", u"ロ", u"ワ", u"ン", u"「", u"」",
    // katakana, half width (274-357)
    u"ｳﾞ", u"ｶﾞ", u"ｷﾞ", u"ｸﾞ", u"ｹﾞ", u"ｺﾞ", u"ｻﾞ", u"ｼﾞ", u"ｽﾞ", u"ｾﾞ", u"ｿﾞ", u"ﾀﾞ",
    u"ﾁﾞ", u"ﾂﾞ", u"ﾃﾞ", u"ﾄﾞ", u"ﾊﾞ", u"ﾋﾞ", u"ﾌﾞ", u"ﾍﾞ", u"ﾎﾞ", u"ﾊﾟ", u"ﾋﾟ", u"ﾌﾟ",
    u"ﾍﾟ", u"ﾎﾟ", u"ｦ", u"ｧ", u"ｨ", u"ｩ", u"ｪ", u"ｫ", u"ｬ", u"ｭ", u"ｮ", u"ｯ",
    u"ｰ", u"ｱ", u"ｲ", u"ｳ", u"ｴ", u"ｵ", u"ｶ", u"ｷ", u"ｸ", u"ｹ", u"ｺ", u"ｻ",
    u"ｼ", u"ｽ", u"ｾ", u"ｿ", u"ﾀ", u"ﾁ", u"ﾂ", u"ﾃ", u"ﾄ", u"ﾅ", u"ﾆ", u"ﾇ",
    u"ﾈ", u"ﾉ", u"ﾊ", u"ﾋ", u"ﾌ", u"ﾍ", u"ﾎ", u"ﾏ", u"ﾐ", u"ﾑ", u"ﾒ", u"ﾓ",
    u"ﾔ", u"ﾕ", u"ﾖ", u"ﾗ", u"ﾘ", u"ﾙ", u"ﾚ", u"ﾛ", u"ﾜ", u"ﾝ", u"｢", u"｣",
    // numeric, full width (358-371)
    u"０", u"１", u"２", u"３", u"４", u"５", u"６", u"７", u"８", u"９", u"＋", u"－", u"．", u"，",
    // numeric, half width (372-385)
    u"0", u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"+", u"-", u".", u",",
};

std::u16string replaceEvery(std::u16string_view text, std::u16string_view from, std::u16string_view to)
{
    if (from.empty())
        return std::u16string(text);
    size_t found = text.find(from);
    if (found == std::u16string_view::npos)
        return std::u16string(text);
    // Built into a new string: erasing and inserting in place would make a pass quadratic.
    std::u16string result;
    result.reserve(text.size());
    size_t start = 0;
    while (found != std::u16string_view::npos) {
        result.append(text.substr(start, found - start));
        result.append(to);
        start = found + from.size();
        found = text.find(from, start);
    }
    result.append(text.substr(start));
    return result;
}

namespace {

enum class Direction { ToFull, ToHalf };

void convertByTable(std::u16string& text, const ZenHanGroup& group, Direction direction, const MessagePump& pump)
{
    for (size_t k = 0; k < group.pairs; ++k) {
        const std::u16string_view full = zenHanTable[group.fullFirst + k];
        const std::u16string_view half = zenHanTable[group.halfFirst + k];
        const std::u16string_view from = direction == Direction::ToFull ? half : full;
        const std::u16string_view to = direction == Direction::ToFull ? full : half;
        // Most passes find nothing; they leave the text as it is instead of copying it.
        if (text.find(from) != std::u16string::npos)
            text = replaceEvery(text, from, to);
        if (pump)
            pump();
    }
}

#ifdef _WIN32

void mapWidth(std::u16string& text, DWORD flag)
{
    if (text.empty())
        return;
    const auto* source = reinterpret_cast<const wchar_t*>(text.data());
    const int sourceLength = static_cast<int>(text.size());
    const int length = LCMapStringW(LOCALE_SYSTEM_DEFAULT, flag, source, sourceLength, nullptr, 0);
    if (length <= 0)
        return;
    std::u16string result(static_cast<size_t>(length), u'\0');
    if (LCMapStringW(LOCALE_SYSTEM_DEFAULT, flag, source, sourceLength, reinterpret_cast<wchar_t*>(result.data()), length) == length)
        text = std::move(result);
}

#else

// The sets limit ICU's mappings to what a Japanese drawing text means by full and half
// width; without them arrows, box drawing, white circles and squares would turn into their
// rarely supported half-width forms.
constexpr char16_t toFullFilter[] =
    u"[\\u0020-\\u007E\\u00A2\\u00A3\\u00A5\\u00A6\\u00AC\\u00AF\\uFF61-\\uFF9F]";
constexpr char16_t toHalfFilter[] =
    u"[\\u3000-\\u3002\\u300C\\u300D\\u30A1-\\u30FC\\uFF01-\\uFF5E\\uFFE0-\\uFFE6]";

std::unique_ptr<icu::Transliterator> makeTransliterator(const char16_t* filter, const char16_t* id)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> result(
        icu::Transliterator::createInstance(icu::UnicodeString(filter) + icu::UnicodeString(id), UTRANS_FORWARD, status));
    if (U_FAILURE(status))
        return nullptr;
    return result;
}

icu::Transliterator* toFullTransliterator()
{
    // Built once per thread: creating one compiles its rules.
    thread_local std::unique_ptr<icu::Transliterator> instance = makeTransliterator(toFullFilter, u"Halfwidth-Fullwidth");
    return instance.get();
}

icu::Transliterator* toHalfTransliterator()
{
    thread_local std::unique_ptr<icu::Transliterator> instance = makeTransliterator(toHalfFilter, u"Fullwidth-Halfwidth");
    return instance.get();
}

bool isHalfwidthKana(char16_t c)
{
    return c >= 0xFF61 && c <= 0xFF9F;
}

// Whether the half-width kana base combines with the (full-width) sound mark into one
// full-width character.
bool combinesWithMark(char16_t halfBase, UChar32 combiningMark)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfkc = icu::Normalizer2::getNFKCInstance(status);
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status))
        return false;
    icu::UnicodeString full;
    if (!nfkc->getDecomposition(halfBase, full) || full.length() != 1)
        return false;
    return nfc->composePair(full.char32At(0), combiningMark) >= 0;
}

// A half-width sound mark that does not combine with the character before it becomes the
// full-width spacing mark (U+309B, U+309C), which stands on its own, and not a combining
// mark that would attach to whatever precedes it. Windows' LCMapStringW makes it the
// combining mark (U+3099, U+309A); each platform keeps its own mapping here.
void spaceLoneSoundMarks(std::u16string& text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c != 0xFF9E && c != 0xFF9F)
            continue;
        const UChar32 mark = c == 0xFF9E ? 0x3099 : 0x309A;
        if (i > 0 && isHalfwidthKana(text[i - 1]) && combinesWithMark(text[i - 1], mark))
            continue;
        text[i] = c == 0xFF9E ? u'\u309B' : u'\u309C';
    }
}

void transliterate(std::u16string& text, icu::Transliterator* transliterator)
{
    if (transliterator == nullptr)
        return;
    icu::UnicodeString buffer(text.data(), static_cast<int32_t>(text.size()));
    transliterator->transliterate(buffer);
    text.assign(buffer.getBuffer(), static_cast<size_t>(buffer.length()));
}

#endif

}  // namespace

void ToZenKana(std::u16string& text, const MessagePump& pump) { convertByTable(text, zenHanKatakana, Direction::ToFull, pump); }
void ToHanKana(std::u16string& text, const MessagePump& pump) { convertByTable(text, zenHanKatakana, Direction::ToHalf, pump); }
void ToZenDigit(std::u16string& text, const MessagePump& pump) { convertByTable(text, zenHanDigits, Direction::ToFull, pump); }
void ToHanDigit(std::u16string& text, const MessagePump& pump) { convertByTable(text, zenHanDigits, Direction::ToHalf, pump); }
void ToZenNumeric(std::u16string& text, const MessagePump& pump) { convertByTable(text, zenHanNumeric, Direction::ToFull, pump); }
void ToHanNumeric(std::u16string& text, const MessagePump& pump) { convertByTable(text, zenHanNumeric, Direction::ToHalf, pump); }
void ToZenAlpha(std::u16string& text, const MessagePump& pump) { convertByTable(text, zenHanLetters, Direction::ToFull, pump); }
void ToHanAlpha(std::u16string& text, const MessagePump& pump) { convertByTable(text, zenHanLetters, Direction::ToHalf, pump); }
void ToZenSymbol(std::u16string& text, const MessagePump& pump) { convertByTable(text, zenHanSymbols, Direction::ToFull, pump); }
void ToHanSymbol(std::u16string& text, const MessagePump& pump) { convertByTable(text, zenHanSymbols, Direction::ToHalf, pump); }

void ToZenAll(std::u16string& text)
{
    if (text.empty())
        return;
#ifdef _WIN32
    mapWidth(text, LCMAP_FULLWIDTH);
#else
    spaceLoneSoundMarks(text);
    transliterate(text, toFullTransliterator());
#endif
}

void ToHanAll(std::u16string& text)
{
    if (text.empty())
        return;
#ifdef _WIN32
    mapWidth(text, LCMAP_HALFWIDTH);
#else
    transliterate(text, toHalfTransliterator());
    // ICU leaves the spacing sound marks; they have half-width forms as much as the kana.
    for (auto& c : text) {
        if (c == u'\u309B')
            c = u'\uFF9E';
        else if (c == u'\u309C')
            c = u'\uFF9F';
    }
#endif
}

}  // namespace textops
