#include "kelvocad/dxf/DxfTag.h"

#include <charconv>
#include <cmath>

namespace kelvocad {

std::string_view trimDxfValue(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::optional<DxfValueType> dxfValueType(int code)
{
    auto in = [code](int first, int last) { return code >= first && code <= last; };
    if (in(0, 4) || in(6, 9) || in(100, 101) || code == 102 || in(300, 309) || in(410, 419) || in(430, 439) ||
        in(470, 479) || code == 999 || in(1000, 1003) || in(1006, 1009))
        return DxfValueType::String;
    if (code == 5 || code == 105 || in(320, 369) || in(390, 399) || in(480, 481) || code == 1005)
        return DxfValueType::Handle;
    if (in(310, 319) || code == 1004)
        return DxfValueType::Binary;
    if (in(10, 59) || in(110, 149) || in(210, 239) || in(460, 469) || in(1010, 1059))
        return DxfValueType::Double;
    if (in(60, 79) || in(90, 99) || in(160, 179) || in(270, 299) || in(370, 389) || in(400, 409) ||
        in(420, 429) || in(440, 459) || in(1060, 1071))
        return DxfValueType::Integer;
    return std::nullopt;
}

namespace {

// A number with optional spaces around and an optional '+'; the whole text must read.
template <typename Number>
std::optional<Number> parseNumber(std::string_view text)
{
    text = trimDxfValue(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    Number value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<double> parseDxfDouble(std::string_view text)
{
    auto value = parseNumber<double>(text);
    if (value && !std::isfinite(*value))
        return std::nullopt;
    return value;
}

std::optional<int64_t> parseDxfInteger(std::string_view text)
{
    return parseNumber<int64_t>(text);
}

std::optional<uint64_t> parseDxfHandle(std::string_view text)
{
    text = trimDxfValue(text);
    if (text.empty() || text.size() > 16)
        return std::nullopt;
    uint64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string formatDxfDouble(double value)
{
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, error == std::errc() ? end : buffer);
    if (text.find_first_of(".eEn") == std::string::npos)
        text += ".0";
    return text;
}

std::string formatDxfHandle(uint64_t value)
{
    char buffer[32];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
    std::string text(buffer, error == std::errc() ? end : buffer);
    for (char& c : text)
        if (c >= 'a' && c <= 'f')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

}  // namespace kelvocad
