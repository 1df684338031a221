#pragma once

#include "automation/Object.h"
#include "automation/RunningObjects.h"
#include "cadlink/WindowServices.h"

#include <array>
#include <string>
#include <string_view>

namespace cadlink {

// The program's own main window, as far as the connection steps touch it.
class OwnWindow {
public:
    virtual ~OwnWindow() = default;
    virtual WindowHandle handle() const = 0;
    virtual void minimize() = 0;
    virtual void showNormal() = 0;
};

// Which window steps an operation takes around its CAD work.
enum class WindowSteps {
    Acquisition,    // restore, minimise own window, to front, cancel command; at the end own window back
    Search,         // restore, to front, cancel command; at the end to front, cancel again, own window forward
    ChangeBatch,    // restore, to front, cancel command (Align, grid update)
    WriteBack,      // restore, to front
    SearchUpdate,   // restore
    None,           // Enter-update of one cell, zoom
};

// Everything an operation needs to reach the CAD application.
struct CadLink {
    automation::RunningObjects& runningObjects;
    WindowServices& windows;
    OwnWindow& ownWindow;
    std::u16string progId;
};

// True when the target CAD application runs. Throws the invalid-class-string error for a
// ProgID nobody registered.
bool IsCadRunning(const CadLink& link);

// The running application object; throws when the ProgID is unknown or nothing runs.
automation::ObjectRef getApplication(const CadLink& link);

void beginWindowSteps(const CadLink& link, automation::Object& application, WindowSteps steps);
void endWindowSteps(const CadLink& link, automation::Object& application, WindowSteps steps);

// The document's selection set "SSTEMP" (found in any letter case, emptied), or a new one.
// Any failure leaves the result null.
automation::ObjectRef AcquireWorkSelectionSet(automation::Object& document);

// Clears and deletes the work set, ignoring failures: it runs on every way out.
void disposeWorkSelectionSet(automation::ObjectRef& set) noexcept;

// TAB, then each locked layer's name followed by TAB, in the document's layer order.
std::u16string lockedLayerList(automation::Object& document);
bool isOnLockedLayer(std::u16string_view lockedList, std::u16string_view layer);

void ForceForeground(WindowServices& windows, WindowHandle window);

// The zoom marker: a triangle with its tip at the centre of a view w x v pixels wide and its
// base L = w * size pixels to the left, B = w * size / 2 above and below.
std::array<MarkerPoint, 4> markerTriangle(int width, int height, double size);

// Pans the view onto the point (keeping its height) and marks it. Swallows every error.
void ZoomToEntity(WindowServices& windows, automation::Object& application, const automation::Variant& point,
                  int penWidth, bool xorMode, double size) noexcept;

}  // namespace cadlink
