#include "taglists/TagLists.h"

#include "common/CaseFold.h"
#include "common/TextUtil.h"

#include <algorithm>

namespace taglists {

std::vector<std::u16string> builtInTagItems()
{
    return {u"JCMNT1:コメント１", u"JCMNT2:コメント２", u"NAME:機器名", u"NAME1:機器名１", u"SENBAN:線番"};
}

std::vector<std::u16string> builtInTagGroupItems()
{
    return {
        u"I/Oコメント,PIN1,IOADRS,JCMNT1,JCMNT2",
        u"機器,NAME,NAME1,SPEC,TYPE",
        u"図枠IFS,CST,CST1,TITLE,TITLE1,DWGNO,REVNO,PAGEN,PAGEM,ENAM,EDATE,CNAM,CDATE,ANAM,ADATE",
        u"図枠TTL,BITEM7,BITEM5,ZITEM2,ZITEM3,ZITEM1,ZSHEET,FILE3,ZITEM10,ZITEM9,ZITEM8,BITEM2,ZITEM5,BITEM3,"
        u"ZITEM6,BITEM4,ZITEM7,ZSEIHIN,PAGE",
        u"線番,SENBAN",
    };
}

int compareIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    return common::compareIgnoringCase(a, b);
}

void sortIgnoringCase(std::vector<std::u16string>& items)
{
    std::stable_sort(items.begin(), items.end(),
                     [](const std::u16string& a, const std::u16string& b) { return compareIgnoringCase(a, b) < 0; });
}

int rememberedPosition(int32_t remembered, size_t count)
{
    if (count == 0 || remembered < 0)
        return -1;
    return static_cast<size_t>(remembered) < count ? remembered : 0;
}

std::vector<std::u16string> nonBlankLines(const std::vector<std::u16string>& lines)
{
    std::vector<std::u16string> kept;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(kept),
                 [](const std::u16string& line) { return !common::isBlank(line); });
    return kept;
}

std::optional<std::u16string> displayNameFor(const std::vector<std::u16string>& cadLines, std::u16string_view progId)
{
    const std::u16string needle = u'\t' + std::u16string(progId);
    for (const auto& line : cadLines) {
        const size_t at = line.find(needle);
        if (at != std::u16string::npos)
            return line.substr(0, at);
    }
    return std::nullopt;
}

}  // namespace taglists
