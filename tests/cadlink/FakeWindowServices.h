#pragma once

#include "cadlink/CadConnection.h"

#include <string>
#include <vector>

namespace cadlink::fakes {

// Records every window request as a line, and answers from plain fields.
class FakeWindowServices : public WindowServices {
public:
    std::vector<std::string> log;
    std::vector<std::u16string> titles;
    bool iconic = false;
    bool foregroundFollows = true;  // the system grants SetForegroundWindow
    WindowHandle foreground = 0;
    uint32_t threadOfOwnWindow = 1;
    uint32_t threadOfOthers = 2;
    WindowHandle ownWindow = 0;
    std::vector<MarkerPoint> marker;

    bool topLevelWindowExists(std::u16string_view title) override
    {
        for (const auto& t : titles)
            if (t == title)
                return true;
        return false;
    }
    bool isIconic(WindowHandle) override { return iconic; }
    void openIcon(WindowHandle w) override { log.push_back("openIcon " + std::to_string(w)); iconic = false; }
    bool setForegroundWindow(WindowHandle w) override
    {
        log.push_back("setForeground " + std::to_string(w));
        if (foregroundFollows)
            foreground = w;
        return foregroundFollows;
    }
    WindowHandle foregroundWindow() override { return foreground; }
    void sendEscape() override { log.push_back("escape"); }
    void sleep(int ms) override { log.push_back("sleep " + std::to_string(ms)); }
    uint32_t windowThread(WindowHandle w) override { return w == ownWindow ? threadOfOwnWindow : threadOfOthers; }
    void attachThreadInput(uint32_t from, uint32_t to, bool attach) override
    {
        log.push_back("attach " + std::to_string(from) + " " + std::to_string(to) + (attach ? " on" : " off"));
    }
    void bringWindowToTop(WindowHandle w) override { log.push_back("toTop " + std::to_string(w)); }
    void drawMarker(WindowHandle w, const MarkerPoint* points, int count, int penWidth, uint32_t rgb, bool xorMode) override
    {
        log.push_back("marker " + std::to_string(w) + " pen " + std::to_string(penWidth) + " rgb " + std::to_string(rgb) +
                      (xorMode ? " xor" : ""));
        marker.assign(points, points + count);
    }
};

class FakeOwnWindow : public OwnWindow {
public:
    explicit FakeOwnWindow(std::vector<std::string>& log, WindowHandle h) : log_(log), handle_(h) {}
    WindowHandle handle() const override { return handle_; }
    void minimize() override { log_.push_back("own minimize"); }
    void showNormal() override { log_.push_back("own normal"); }

private:
    std::vector<std::string>& log_;
    WindowHandle handle_;
};

}  // namespace cadlink::fakes
