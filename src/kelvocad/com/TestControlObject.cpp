#include "kelvocad/com/TestControlObject.h"

#include "automation/AutomationError.h"
#include "automation/com/DispatchAdapter.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/CadSession.h"
#include "kelvocad/objects/ScriptedPicker.h"

#include <windows.h>

#include <variant>

namespace kelvocad {

using automation::AutomationError;
using automation::Variant;
using automation::memberNameEquals;
namespace hr = automation::hr;

TestControlObject::TestControlObject(std::shared_ptr<CadSession> session, const automation::com::CallCounters& counters)
    : session_(std::move(session)), counters_(counters)
{
}

Variant TestControlObject::get(std::u16string_view member, std::span<const Variant> args)
{
    if (memberNameEquals(member, u"RoundTrips"))
        return Variant::variantArray({Variant(static_cast<int32_t>(counters_.getIdsOfNames.load())),
                                      Variant(static_cast<int32_t>(counters_.invokes.load()))});
    if (memberNameEquals(member, u"LiveObjects"))
        return Variant(static_cast<int32_t>(automation::com::DispatchAdapter::liveCount()));
    if (memberNameEquals(member, u"TextHandles")) {
        std::vector<Variant> handles;
        for (const ModelEntity& entity : session_->drawing().entities())
            if (const auto* text = std::get_if<TextEntity>(&entity))
                handles.emplace_back(text->handle);
        return Variant::variantArray(std::move(handles));
    }
    if (memberNameEquals(member, u"BlockHandles")) {
        // The references of the block named by the argument, or of every block.
        const std::u16string name = args.empty() ? std::u16string() : args[0].toString();
        std::vector<Variant> handles;
        for (const ModelEntity& entity : session_->drawing().entities())
            if (const auto* block = std::get_if<BlockReference>(&entity); block && (name.empty() || block->name == name))
                handles.emplace_back(block->handle);
        return Variant::variantArray(std::move(handles));
    }
    throw AutomationError(hr::UnknownName, u"unknown member " + std::u16string(member));
}

void TestControlObject::put(std::u16string_view member, const Variant&, std::span<const Variant>)
{
    throw AutomationError(hr::UnknownName, u"unknown member " + std::u16string(member));
}

Variant TestControlObject::call(std::u16string_view member, std::span<const Variant> args)
{
    ScriptedPicker* picker = session_->scriptedPicker();
    if (memberNameEquals(member, u"NextPickReturns") && picker) {
        if (args.size() != 1)
            throw AutomationError(hr::BadParamCount, u"NextPickReturns takes an array of handles");
        std::vector<std::u16string> handles;
        for (const Variant& handle : args[0].elements())
            handles.push_back(handle.toString());
        picker->nextPickReturns(std::move(handles));
        return {};
    }
    if (memberNameEquals(member, u"NextPickIsCancelled") && picker) {
        picker->nextPickIsCancelled();
        return {};
    }
    if (memberNameEquals(member, u"Quit")) {
        // The message loop ends once this call has returned.
        PostQuitMessage(0);
        return {};
    }
    throw AutomationError(hr::UnknownName, u"unknown member " + std::u16string(member));
}

}  // namespace kelvocad
