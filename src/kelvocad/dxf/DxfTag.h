#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kelvocad {

// One group of a DXF file: its code and the value line's bytes as they stand in the file
// (no line ending), and the 1-based line of the code (0 for a group made here).
struct DxfTag {
    DxfTag() = default;
    DxfTag(int code, std::string value, size_t line = 0, std::string codeText = {})
        : code(code), value(std::move(value)), line(line), codeText(std::move(codeText))
    {
    }

    int code = 0;
    std::string value;
    size_t line = 0;
    std::string codeText;  // the code line as read, so that an unchanged file is written back as it was
};

enum class DxfValueType { String, Double, Integer, Handle, Binary };

// The kind of value a group code carries; nullopt for a code no DXF file holds.
std::optional<DxfValueType> dxfValueType(int code);

// The value without the spaces and tabs around it.
std::string_view trimDxfValue(std::string_view text);

// Numbers as DXF writes them: optional spaces around, '.' as decimal separator.
// nullopt for anything else, and for values that do not fit (or are not finite).
std::optional<double> parseDxfDouble(std::string_view text);
std::optional<int64_t> parseDxfInteger(std::string_view text);
// A handle: 1 to 16 hexadecimal digits.
std::optional<uint64_t> parseDxfHandle(std::string_view text);

// Shortest text that reads back as the same double, always with a decimal point.
std::string formatDxfDouble(double value);
std::string formatDxfHandle(uint64_t value);

}  // namespace kelvocad
