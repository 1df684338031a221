#pragma once

#include "automation/Object.h"
#include "kelvocad/model/Point3.h"
#include "kelvocad/objects/CallLog.h"
#include "kelvocad/objects/FaultInjector.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kelvocad {

class CadObject;
class Drawing;
class PickStrategy;
class ScriptedPicker;

// What the view shows: its centre and height in drawing units, and the size of the
// drawing window in pixels.
struct ViewState {
    Point3 center{100.0, 100.0, 0.0};
    double height = 250.0;
    int screenWidth = 1000;
    int screenHeight = 700;
};

// A named selection set of the document: the handles it holds, in selection order.
struct SelectionSetData {
    std::u16string name;
    std::vector<std::u16string> handles;
    bool deleted = false;
};

// What happened that a window showing the session would redraw for.
enum class SessionEvent { DrawingChanged, ViewChanged, Regen, EntityUpdated };

// One running KelvoCAD: the drawing, the view, the document's selection sets, the picking
// strategy, and the call log and fault plan that every Automation object reports to. The
// objects share ownership of the session, so none of them outlives what it refers to.
// Single-threaded: a transport calls in from the thread that owns the session.
class CadSession : public std::enable_shared_from_this<CadSession> {
public:
    // A session over the drawing; without one, over the built-in sample drawing.
    static std::shared_ptr<CadSession> create(std::shared_ptr<Drawing> drawing = nullptr);

    Drawing& drawing() const noexcept { return *drawing_; }
    const std::shared_ptr<Drawing>& drawingPtr() const noexcept { return drawing_; }
    // Opening another file: selection sets are emptied, and every object made for the old
    // document fails from then on instead of reaching into the new one by a handle that
    // happens to exist there too.
    void replaceDrawing(std::shared_ptr<Drawing> drawing);
    uint64_t documentGeneration() const noexcept { return documentGeneration_; }
    std::u16string documentName = u"Sample.dxf";

    // The Application object, as the running object table hands it out.
    automation::ObjectRef application();
    // The object of an entity (TEXT, block reference, attribute reference, or an attribute
    // definition of a block) by handle; throws AutomationError when there is no such entity.
    automation::ObjectRef entityObject(std::u16string_view handle);

    ViewState& view() noexcept { return view_; }
    void setScreenSize(int width, int height);
    void zoomCenter(const Point3& center, double height);

    // The window handles the Automation objects report; the windows set them when they exist.
    int32_t applicationWindow = 0;
    int32_t documentWindow = 0;

    PickStrategy& picker() const noexcept { return *picker_; }
    // Held by a pick in progress, so that setting another strategy meanwhile is safe.
    std::shared_ptr<PickStrategy> pickerPtr() const noexcept { return picker_; }
    void setPicker(std::shared_ptr<PickStrategy> picker);
    // The scripted picker a session starts with (null once another strategy is set).
    ScriptedPicker* scriptedPicker() const noexcept { return scripted_; }

    std::vector<std::shared_ptr<SelectionSetData>>& selectionSets() noexcept { return selectionSets_; }

    // Undoes the last undo step of the drawing (the window's Ctrl+Z, or a test).
    bool undoLastStep();

    CallLog& callLog() noexcept { return callLog_; }
    FaultInjector& faults() noexcept { return faults_; }
    // Every member access so far, rejected and failed ones included; in all, or of one
    // member (any letter case) on any object. Unlike the log, these never drop anything.
    uint64_t callCount() const noexcept { return callCount_; }
    uint64_t callCount(std::u16string_view member) const;

    void setEventListener(std::function<void(SessionEvent)> listener) { listener_ = std::move(listener); }
    void notify(SessionEvent event);

    // Runs one member access of an object: counts it, runs the fault plan, dispatches, and
    // logs the outcome. Every failure leaves as an AutomationError; a busy server's
    // rejection is hr::CallRejected, which a transport turns into "retry later".
    automation::Variant invoke(CadObject& object, MemberAccess access, std::u16string_view member,
                               std::span<const automation::Variant> args, const automation::Variant* value);

private:
    explicit CadSession(std::shared_ptr<Drawing> drawing);

    std::shared_ptr<Drawing> drawing_;
    ViewState view_;
    std::shared_ptr<PickStrategy> picker_;
    ScriptedPicker* scripted_ = nullptr;
    std::vector<std::shared_ptr<SelectionSetData>> selectionSets_;
    CallLog callLog_;
    FaultInjector faults_;
    uint64_t callCount_ = 0;
    std::map<std::u16string, uint64_t> memberCounts_;  // by member name in lower case
    uint64_t documentGeneration_ = 1;
    std::function<void(SessionEvent)> listener_;
};

}  // namespace kelvocad
