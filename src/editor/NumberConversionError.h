#pragma once

#include <stdexcept>
#include <string>

namespace editor {

// A box that must hold a number does not. It reaches the program's default error display.
class NumberConversionError : public std::runtime_error {
public:
    explicit NumberConversionError(const std::u16string& text);
    const std::u16string& text() const noexcept { return text_; }

private:
    std::u16string text_;
};

}  // namespace editor
