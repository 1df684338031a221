#pragma once

namespace app {

// A hidden top-level native window of class TKelvoMainForm, so that a second start finds the
// running instance by its window class. Qt cannot name its own window classes. Does nothing
// outside Windows.
class InstanceMarkerWindow {
public:
    InstanceMarkerWindow();
    ~InstanceMarkerWindow();
    InstanceMarkerWindow(const InstanceMarkerWindow&) = delete;
    InstanceMarkerWindow& operator=(const InstanceMarkerWindow&) = delete;

private:
    void* window_ = nullptr;
};

}  // namespace app
