#include "cadlink/CadConnection.h"

#include "automation/AutomationError.h"
#include "common/TextUtil.h"

namespace cadlink {

using automation::ObjectRef;
using automation::Variant;

namespace {

constexpr std::u16string_view kWorkSetName = u"SSTEMP";
constexpr uint32_t kMarkerColour = 255u | (100u << 8) | (100u << 16);  // RGB(255, 100, 100) as COLORREF

void restore(WindowServices& windows, WindowHandle cad)
{
    if (windows.isIconic(cad)) {
        windows.openIcon(cad);
        windows.sleep(500);
    }
}

void cancelCommand(WindowServices& windows, WindowHandle cad)
{
    // Only a CAD that really has the keyboard may get the Escape; otherwise it would land in
    // whatever window the system left in front.
    if (windows.foregroundWindow() == cad) {
        windows.sendEscape();
        windows.sleep(5);
    }
}

WindowHandle cadWindow(automation::Object& application)
{
    return application.get(u"HWND").toInt();
}

}  // namespace

bool IsCadRunning(const CadLink& link)
{
    if (link.progId.find(u"nanoCAD") != std::u16string::npos)
        return link.windows.topLevelWindowExists(u"nanoCAD 5");
    return link.runningObjects.isRunning(link.progId);
}

ObjectRef getApplication(const CadLink& link)
{
    return link.runningObjects.activeObject(link.progId);
}

void beginWindowSteps(const CadLink& link, automation::Object& application, WindowSteps steps)
{
    if (steps == WindowSteps::None)
        return;
    const WindowHandle cad = cadWindow(application);
    restore(link.windows, cad);
    if (steps == WindowSteps::SearchUpdate)
        return;
    if (steps == WindowSteps::Acquisition)
        link.ownWindow.minimize();
    link.windows.setForegroundWindow(cad);
    if (steps != WindowSteps::WriteBack)
        cancelCommand(link.windows, cad);
}

void endWindowSteps(const CadLink& link, automation::Object& application, WindowSteps steps)
{
    switch (steps) {
    case WindowSteps::Search: {
        const WindowHandle cad = cadWindow(application);
        link.windows.setForegroundWindow(cad);
        cancelCommand(link.windows, cad);
        ForceForeground(link.windows, link.ownWindow.handle());
        break;
    }
    case WindowSteps::Acquisition:
        link.ownWindow.showNormal();
        ForceForeground(link.windows, link.ownWindow.handle());
        break;
    default:
        break;
    }
}

ObjectRef AcquireWorkSelectionSet(automation::Object& document)
{
    ObjectRef set;
    try {
        const ObjectRef sets = document.get(u"SelectionSets").toObject();
        const int32_t count = sets->get(u"Count").toInt();
        for (int32_t i = 0; i < count; ++i) {
            const ObjectRef item = sets->call(u"Item", {Variant(i)}).toObject();
            if (common::asciiUpper(item->get(u"Name").toString()) == kWorkSetName) {
                item->call(u"Clear");
                set = item;
                break;
            }
        }
        if (!set)
            set = sets->call(u"Add", {Variant(std::u16string(kWorkSetName))}).toObject();
    } catch (const automation::AutomationError&) {
        // The callers work with whatever set was obtained, or with none.
    }
    return set;
}

void disposeWorkSelectionSet(ObjectRef& set) noexcept
{
    if (!set)
        return;
    try {
        set->call(u"Clear");
    } catch (const automation::AutomationError&) {
    }
    try {
        set->call(u"Delete");
    } catch (const automation::AutomationError&) {
    }
    set.reset();
}

std::u16string lockedLayerList(automation::Object& document)
{
    std::u16string list = u"\t";
    const ObjectRef layers = document.get(u"Layers").toObject();
    const int32_t count = layers->get(u"Count").toInt();
    for (int32_t i = 0; i < count; ++i) {
        const ObjectRef layer = layers->get(u"Item", Variant(i)).toObject();
        if (layer->get(u"Lock").toBool())
            list += layer->get(u"Name").toString() + u"\t";
    }
    return list;
}

bool isOnLockedLayer(std::u16string_view lockedList, std::u16string_view layer)
{
    std::u16string needle = u"\t";
    needle += layer;
    needle += u"\t";
    return lockedList.find(needle) != std::u16string_view::npos;
}

void ForceForeground(WindowServices& windows, WindowHandle window)
{
    const uint32_t own = windows.windowThread(window);
    const uint32_t front = windows.windowThread(windows.foregroundWindow());
    windows.setForegroundWindow(window);
    if (own == front) {
        windows.bringWindowToTop(window);
    } else {
        // The system only lets the thread that has the input bring a window forward.
        windows.attachThreadInput(own, front, true);
        windows.bringWindowToTop(window);
        windows.attachThreadInput(own, front, false);
    }
}

std::array<MarkerPoint, 4> markerTriangle(int width, int height, double size)
{
    const int cx = width / 2;
    const int cy = height / 2;
    const int l = static_cast<int>(width * size);
    const int b = static_cast<int>(width * size * 0.5);
    return {{{cx, cy}, {cx - l, cy - b}, {cx - l, cy + b}, {cx, cy}}};
}

void ZoomToEntity(WindowServices& windows, automation::Object& application, const Variant& point, int penWidth,
                  bool xorMode, double size) noexcept
{
    try {
        const ObjectRef document = application.get(u"ActiveDocument").toObject();
        const double height = document->call(u"GetVariable", {Variant(u"VIEWSIZE")}).toDouble();
        // Some CAD applications only settle the view on the second call.
        application.call(u"ZoomCenter", {point, Variant(height)});
        application.call(u"ZoomCenter", {point, Variant(height)});
        const WindowHandle window = document->get(u"HWND").toInt();
        const Variant screen = document->call(u"GetVariable", {Variant(u"SCREENSIZE")});
        const int w = screen.at(0).toInt();
        const int v = screen.at(1).toInt();
        if (window != 0 && w > 0 && v > 0) {
            const auto triangle = markerTriangle(w, v, size);
            windows.drawMarker(window, triangle.data(), static_cast<int>(triangle.size()), penWidth, kMarkerColour,
                               xorMode);
        }
    } catch (const std::exception&) {
        // A failed pan or marker is cosmetic: the user's work goes on.
    }
}

}  // namespace cadlink
