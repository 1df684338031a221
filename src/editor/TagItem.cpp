#include "editor/TagItem.h"

namespace editor {

TagItem TagItem::parse(std::u16string_view text)
{
    TagItem item;
    const size_t colon = text.find(u':');
    item.tag = std::u16string(text.substr(0, colon));
    if (colon == std::u16string_view::npos)
        return item;
    // The mask is only looked for after the colon, so a tag itself may hold brackets.
    const std::u16string_view rest = text.substr(colon);
    const size_t open = rest.find(u'[');
    const size_t close = rest.find(u']');
    if (open != std::u16string_view::npos && close != std::u16string_view::npos && close >= open + 2)
        item.blockMask = std::u16string(rest.substr(open + 1, close - open - 1));
    return item;
}

}  // namespace editor
