#include "kelvocad/dxf/DxfTagReader.h"

#include "kelvocad/dxf/DxfError.h"

namespace kelvocad {

namespace {

constexpr std::string_view binarySentinel = "AutoCAD Binary DXF";

class LineCursor {
public:
    LineCursor(std::string_view bytes, size_t start) : bytes_(bytes), position_(start) {}

    bool atEnd() const { return position_ >= bytes_.size(); }
    size_t lineNumber() const { return line_; }

    // The next line without its ending; false at the end of the bytes.
    bool next(std::string_view& line)
    {
        if (atEnd())
            return false;
        size_t end = bytes_.find('\n', position_);
        const bool lastLine = end == std::string_view::npos;
        if (lastLine)
            end = bytes_.size();
        line = bytes_.substr(position_, end - position_);
        position_ = lastLine ? bytes_.size() : end + 1;
        // Every CR before the LF belongs to the line ending: a value cannot end in one,
        // or it would not be written back as it was read.
        while (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++line_;
        return true;
    }

private:
    std::string_view bytes_;
    size_t position_;
    size_t line_ = 0;
};

bool isHexDigits(std::string_view text)
{
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')))
            return false;
    return true;
}

std::string quoted(std::string_view text)
{
    constexpr size_t shown = 40;
    std::string result = "'";
    for (char c : text.substr(0, shown))
        result += (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) ? '?' : c;
    if (text.size() > shown)
        result += "...";
    return result + "'";
}

[[noreturn]] void fail(const std::filesystem::path& path, size_t line, std::string reason)
{
    throw DxfError(path, line, std::move(reason));
}

}  // namespace

DxfTagReader::Result DxfTagReader::read(std::string fileBytes, const std::filesystem::path& path)
{
    Result result{DxfTagTable(std::move(fileBytes)), false};
    const std::string_view whole = result.tags.bytes();
    std::string_view bytes = whole;
    if (bytes.substr(0, binarySentinel.size()) == binarySentinel)
        fail(path, 1, "binary DXF files are not supported; save the drawing as ASCII DXF");
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    if (bytes.find_first_not_of(" \t\r\n") == std::string_view::npos)
        fail(path, 0, "the file is empty");

    const size_t firstBreak = bytes.find('\n');
    result.crlf = firstBreak != std::string_view::npos && firstBreak > 0 && bytes[firstBreak - 1] == '\r';

    LineCursor cursor(whole, static_cast<size_t>(bytes.data() - whole.data()));
    std::string_view recordType;  // of the record being read (group 0)
    size_t openGroupLine = 0;     // where an application group (102 {...) opened, 0 when none is open
    std::string_view codeLine;
    std::string_view valueLine;
    while (cursor.next(codeLine)) {
        const size_t line = cursor.lineNumber();
        if (codeLine.find('\0') != std::string_view::npos)
            fail(path, line, "binary data where a group code was expected");
        const auto code = parseDxfInteger(codeLine);
        if (!code)
            fail(path, line, "group code expected, found " + quoted(codeLine));
        const auto type = (*code >= 0 && *code <= 1071) ? dxfValueType(static_cast<int>(*code)) : std::nullopt;
        if (!type)
            fail(path, line, "unknown group code " + quoted(codeLine));
        if (!cursor.next(valueLine))
            fail(path, line, "the file ends before the value of group code " + std::to_string(*code));
        const size_t valueLineNumber = cursor.lineNumber();
        if (valueLine.find('\0') != std::string_view::npos)
            fail(path, valueLineNumber, "binary data in the value of group code " + std::to_string(*code));

        switch (*type) {
        case DxfValueType::Double:
            if (!parseDxfDouble(valueLine))
                fail(path, valueLineNumber, "number expected for group code " + std::to_string(*code) + ", found " +
                                          quoted(valueLine));
            break;
        case DxfValueType::Integer:
            if (!parseDxfInteger(valueLine))
                fail(path, valueLineNumber, "integer expected for group code " + std::to_string(*code) + ", found " +
                                          quoted(valueLine));
            break;
        case DxfValueType::Handle:
            // Group 5 of a DIMSTYLE is a block name (its handle is 105).
            if (!(*code == 5 && recordType == "DIMSTYLE") && !parseDxfHandle(valueLine))
                fail(path, valueLineNumber, "handle expected for group code " + std::to_string(*code) + ", found " +
                                          quoted(valueLine));
            break;
        case DxfValueType::Binary:
            if (!isHexDigits(valueLine))
                fail(path, valueLineNumber, "hexadecimal data expected for group code " + std::to_string(*code));
            break;
        case DxfValueType::String:
            break;
        }
        // An application group ({name ... }) left open would swallow the groups after it.
        if (*code == 102) {
            const std::string_view value = trimDxfValue(valueLine);
            if (!value.empty() && value.front() == '{')
                openGroupLine = line;
            else if (!value.empty() && value.front() == '}')
                openGroupLine = 0;
        }
        if (*code == 0 && openGroupLine != 0)
            fail(path, openGroupLine, "the application group that starts here is not closed by 102 }");
        if (!result.tags.add(static_cast<int>(*code), static_cast<size_t>(codeLine.data() - whole.data()),
                             static_cast<size_t>(valueLine.data() - whole.data()), valueLine.size(), line))
            fail(path, line, "the file is too large to be read");
        if (*code == 0) {
            recordType = trimDxfValue(valueLine);
            if (recordType == "EOF") {
                result.tags.shrinkToFit();
                return result;
            }
        }
    }
    fail(path, cursor.lineNumber(), "the file ends without EOF (it may be truncated)");
}

}  // namespace kelvocad
