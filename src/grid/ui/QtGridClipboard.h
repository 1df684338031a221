#pragma once

#include "grid/GridClipboard.h"

namespace grid {

// The system clipboard as plain text, through Qt.
class QtGridClipboard : public GridClipboard {
public:
    std::u16string text() override;
    // Throws when the clipboard did not take the text.
    void setText(const std::u16string& text) override;
};

}  // namespace grid
