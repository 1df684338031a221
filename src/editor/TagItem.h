#pragma once

#include <string>
#include <string_view>

namespace editor {

// A tag list item or typed combo text: TAG, or TAG ":" caption, optionally followed by
// "[" block mask "]".
struct TagItem {
    std::u16string tag;        // before the first ":", or the whole text
    std::u16string blockMask;  // empty: every block name

    static TagItem parse(std::u16string_view text);
};

}  // namespace editor
