#include "app/KelvoSettings.h"

#include "app/ProfileFile.h"

namespace app {

namespace {

constexpr char16_t kMain[] = u"KelvoEdit";
constexpr char16_t kTarget[] = u"Target";

}  // namespace

KelvoSettings loadSettings(const ProfileFile& file, int32_t defaultLeft, int32_t defaultTop)
{
    const KelvoSettings defaults;
    KelvoSettings s;
    s.left = file.readInt(kMain, u"Left", defaultLeft);
    s.top = file.readInt(kMain, u"Top", defaultTop);
    s.progId = file.readString(kTarget, u"ProgID", defaults.progId);
    s.sort = file.readBool(kMain, u"Sort", defaults.sort);
    s.attTag = file.readString(kMain, u"AttTag", defaults.attTag);
    s.attTagIndex2 = file.readInt(kMain, u"AttTagIndex2", defaults.attTagIndex2);
    s.cursor = file.readBool(kMain, u"Cursor", defaults.cursor);
    s.attTagIndex1 = file.readInt(kMain, u"AttTagIndex1", defaults.attTagIndex1);
    s.sentou = file.readBool(kMain, u"Sentou", defaults.sentou);
    s.upperCase = file.readBool(kMain, u"UpperCase", defaults.upperCase);
    s.enter = file.readBool(kMain, u"Enter", defaults.enter);
    s.zoomCenter = file.readBool(kMain, u"ZoomCenter", defaults.zoomCenter);
    s.attEnter = file.readBool(kMain, u"AttEnter", defaults.attEnter);
    s.attEnterDown = file.readBool(kMain, u"AttEnterDown", defaults.attEnterDown);
    s.zoomCenter2 = file.readBool(kMain, u"ZoomCenter2", defaults.zoomCenter2);
    return s;
}

void saveSettings(ProfileFile& file, const KelvoSettings& s)
{
    file.writeInt(kMain, u"Left", s.left);
    file.writeInt(kMain, u"Top", s.top);
    file.writeString(kTarget, u"ProgID", s.progId);
    file.writeBool(kMain, u"Sort", s.sort);
    file.writeString(kMain, u"AttTag", s.attTag);
    file.writeInt(kMain, u"AttTagIndex2", s.attTagIndex2);
    file.writeBool(kMain, u"Cursor", s.cursor);
    file.writeInt(kMain, u"AttTagIndex1", s.attTagIndex1);
    file.writeBool(kMain, u"Sentou", s.sentou);
    file.writeBool(kMain, u"UpperCase", s.upperCase);
    file.writeBool(kMain, u"Enter", s.enter);
    file.writeBool(kMain, u"ZoomCenter", s.zoomCenter);
    file.writeBool(kMain, u"AttEnter", s.attEnter);
    file.writeBool(kMain, u"AttEnterDown", s.attEnterDown);
    file.writeBool(kMain, u"ZoomCenter2", s.zoomCenter2);
}

}  // namespace app
