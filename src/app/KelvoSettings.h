#pragma once

#include <cstdint>
#include <string>

namespace app {

class ProfileFile;

// What the main window keeps between runs, with the values of a first start.
struct KelvoSettings {
    int32_t left = 0, top = 0;
    std::u16string progId = u"BricscadApp.AcadApplication";
    bool sort = true;
    std::u16string attTag;
    int32_t attTagIndex2 = 0;
    bool cursor = true;
    int32_t attTagIndex1 = 0;
    bool sentou = false, upperCase = true, enter = true, zoomCenter = false, attEnter = true, attEnterDown = true,
         zoomCenter2 = false;
};

// Reads and writes the keys one by one, always in the same order. The window position has no
// fixed default: the caller passes the centred position for the current screen.
KelvoSettings loadSettings(const ProfileFile& file, int32_t defaultLeft, int32_t defaultTop);
void saveSettings(ProfileFile& file, const KelvoSettings& settings);

}  // namespace app
