#include "editor/TagItem.h"

#include "common/Utf.h"

#include <gtest/gtest.h>

namespace editor {
namespace {

TEST(TagItem, TagAndBlockMaskFromTheComboText)
{
    struct Case {
        std::u16string text, tag, mask;
    };
    const Case cases[] = {
        {u"NAME:機器名", u"NAME", u""},
        {u"SENBAN", u"SENBAN", u""},
        {u"NAME:機器名[A*]", u"NAME", u"A*"},
        {u"NAME[A*]", u"NAME[A*]", u""},          // no colon: no mask, the whole text is the tag
        {u"NAME:x[]", u"NAME", u""},              // nothing between the brackets
        {u"NAME:x[B]y[C]", u"NAME", u"B"},        // the first pair counts
        {u"NAME:x]y[C", u"NAME", u""},            // closing bracket before the opening one
        {u"TAG:a:b[M?]", u"TAG", u"M?"},
        {u"", u"", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(common::toUtf8(c.text));
        const TagItem item = TagItem::parse(c.text);
        EXPECT_EQ(item.tag, c.tag);
        EXPECT_EQ(item.blockMask, c.mask);
    }
}

}  // namespace
}  // namespace editor
