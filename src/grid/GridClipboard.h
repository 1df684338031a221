#pragma once

#include <string>

namespace grid {

// The system clipboard as plain text. Both calls throw when the clipboard cannot be used.
class GridClipboard {
public:
    virtual ~GridClipboard() = default;
    virtual std::u16string text() = 0;
    virtual void setText(const std::u16string& text) = 0;
};

}  // namespace grid
