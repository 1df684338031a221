#include "automation/InProcessRunningObjects.h"

#include "automation/AutomationError.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace automation {
namespace {

class Dummy : public Object {
public:
    Variant get(std::u16string_view, std::span<const Variant>) override { return Variant(1); }
    void put(std::u16string_view, const Variant&, std::span<const Variant>) override {}
    Variant call(std::u16string_view, std::span<const Variant>) override { return {}; }
};

std::optional<int32_t> errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const AutomationError& e) {
        return e.code();
    }
    return std::nullopt;
}

TEST(InProcessRunningObjects, FailsLikeTheSystemTable)
{
    InProcessRunningObjects table;
    const auto object = std::make_shared<Dummy>();
    struct Step {
        const char* name;
        std::function<void()> prepare;
        std::optional<int32_t> isRunningError;
        bool running;
        std::optional<int32_t> activeError;
    } steps[] = {
        {"unregistered", [] {}, hr::InvalidClassString, false, hr::InvalidClassString},
        {"registered, not running", [&] { table.registerProgId(u"Cad.Application"); }, std::nullopt, false,
         hr::NotRunning},
        {"running", [&] { table.announce(u"Cad.Application", object); }, std::nullopt, true, std::nullopt},
        {"no Automation interface", [&] { table.announce(u"Cad.Application", nullptr); }, std::nullopt, true,
         hr::NoInterface},
        {"revoked", [&] { table.revoke(u"Cad.Application"); }, std::nullopt, false, hr::NotRunning},
        {"unregistered again", [&] { table.unregisterProgId(u"CAD.APPLICATION"); }, hr::InvalidClassString, false,
         hr::InvalidClassString},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        step.prepare();
        bool running = false;
        EXPECT_EQ(errorOf([&] { running = table.isRunning(u"cad.application"); }), step.isRunningError);
        EXPECT_EQ(running, step.running);
        ObjectRef active;
        EXPECT_EQ(errorOf([&] { active = table.activeObject(u"Cad.Application"); }), step.activeError);
        if (!step.activeError) {
            EXPECT_EQ(active, object);
        }
    }
}

}  // namespace
}  // namespace automation
