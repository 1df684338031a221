#pragma once

#include "grid/GridClipboard.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace grid::test {

// How a platform's clipboard hands this program text that another program placed there.
// Qt's Windows plugin turns the CR LF of such text into LF; elsewhere it comes as written.
// Text the program placed itself reads back unchanged on both.
enum class ForeignText { AsWritten, CrLfBecomesLf };

// The system clipboard as plain text, held to QtGridClipboard by GridClipboardConformanceTest.
class FakeGridClipboard : public GridClipboard {
public:
    explicit FakeGridClipboard(ForeignText foreign = ForeignText::AsWritten) : foreign(foreign) {}

    ForeignText foreign;
    std::u16string content;  // what text() gives
    int writes = 0;
    std::vector<bool> failWrite;  // per attempt, from the first
    bool failRead = false;

    // Another program (a spreadsheet, a text editor) places text on the clipboard.
    void putFromAnotherProgram(std::u16string_view text)
    {
        content.clear();
        for (size_t i = 0; i < text.size(); ++i) {
            if (foreign == ForeignText::CrLfBecomesLf && text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                continue;
            content += text[i];
        }
    }

    std::u16string text() override
    {
        if (failRead)
            throw std::runtime_error("clipboard busy");
        return content;
    }
    void setText(const std::u16string& text) override
    {
        const size_t attempt = static_cast<size_t>(writes++);
        if (attempt < failWrite.size() && failWrite[attempt])
            throw std::runtime_error("clipboard busy");
        content = text;
    }
};

}  // namespace grid::test
