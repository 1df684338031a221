#pragma once

#include "automation/AutomationError.h"
#include "automation/Object.h"
#include "automation/Variant.h"
#include "common/Utf.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/CadSession.h"
#include "kelvocad/objects/ScriptedPicker.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kelvocad::test {

using automation::ObjectRef;
using automation::Variant;
namespace hr = automation::hr;

// The code of the AutomationError that f throws; nullopt when it does not throw.
template <class F>
std::optional<int32_t> errorOf(F&& f)
{
    try {
        f();
    } catch (const automation::AutomationError& e) {
        return e.code();
    }
    return std::nullopt;
}

inline std::string utf8(const std::u16string& text)
{
    return common::toUtf8(text);
}

// A session over the sample drawing, attached the way a client attaches.
class CadFixture : public ::testing::Test {
protected:
    std::shared_ptr<CadSession> session = CadSession::create();
    ObjectRef app = session->application();
    ObjectRef doc = app->get(u"ActiveDocument").toObject();

    Drawing& drawing() { return session->drawing(); }
    ScriptedPicker& picker() { return *session->scriptedPicker(); }

    ObjectRef entity(const std::u16string& handle) { return doc->call(u"HandleToObject", {Variant(handle)}).toObject(); }

    // The handle of the first TEXT with this string.
    std::u16string textHandle(std::u16string_view string)
    {
        for (const auto& e : drawing().entities())
            if (const auto* t = std::get_if<TextEntity>(&e); t && t->string == string)
                return t->handle;
        ADD_FAILURE() << "no TEXT " << utf8(std::u16string(string));
        return {};
    }

    std::vector<std::u16string> blockReferenceHandles(std::u16string_view name = {})
    {
        std::vector<std::u16string> handles;
        for (const auto& e : drawing().entities())
            if (const auto* r = std::get_if<BlockReference>(&e); r && (name.empty() || r->name == name))
                handles.push_back(r->handle);
        return handles;
    }

    ObjectRef addSet(const std::u16string& name)
    {
        auto sets = doc->get(u"SelectionSets").toObject();
        return sets->call(u"Add", {Variant(name)}).toObject();
    }

    // The handles a set holds, read through Count and Item as a client reads them.
    std::vector<std::u16string> handlesIn(const ObjectRef& set)
    {
        std::vector<std::u16string> handles;
        const int n = set->get(u"Count").toInt();
        for (int i = 0; i < n; ++i)
            handles.push_back(set->call(u"Item", {Variant(i)}).toObject()->get(u"Handle").toString());
        return handles;
    }
};

}  // namespace kelvocad::test
