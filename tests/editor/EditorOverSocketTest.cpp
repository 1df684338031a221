// The line editor's operations against a KelvoCAD served over the local socket, as
// kelvoedit drives it on Linux: one round trip per member access, nothing left exported.

#include "FakeLineEditorHost.h"
#include "ServedCadSession.h"

#include "editor/LineEditorContext.h"
#include "editor/TextAcquisition.h"
#include "editor/WriteBack.h"
#include "editor/records/EntityArrays.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/CadSession.h"
#include "kelvocad/objects/ScriptedPicker.h"

#include <gtest/gtest.h>

namespace editor::test {
namespace {

using automation::socket::SocketServer;

std::vector<std::u16string> textStrings(const kelvocad::Drawing& drawing)
{
    std::vector<std::u16string> strings;
    for (const auto& e : drawing.entities())
        if (const auto* t = std::get_if<kelvocad::TextEntity>(&e))
            strings.push_back(t->string);
    return strings;
}

TEST(EditorOverSocket, FiveTextsAcquiredAndWrittenBackCallByCall)
{
    const auto served = kelvocad::CadSession::create(std::make_shared<kelvocad::Drawing>());
    std::vector<std::u16string> handles;
    for (int i = 0; i < 5; ++i) {
        kelvocad::TextEntity text;
        text.string = u"T" + std::u16string(1, static_cast<char16_t>(u'1' + i));
        text.insertionPoint = {10, 100 - 10.0 * i, 0};
        handles.push_back(served->drawing().addText(text));
    }
    served->drawing().clearUndo();

    sockettest::ServedCadSession socket(served);
    auto& server = socket.server();
    auto* const client = &socket.client();
    FakeLineEditorHost host;
    EntityArrays arrays;
    LineEditorFields fields;
    LineEditorContext context{socket.link(), host, arrays.TextEntities, fields};

    uint64_t calls = 0;
    server.run([&](SocketServer&) {
        served->scriptedPicker()->nextPickReturns(handles);
        calls = served->callCount();
    });
    SpeedButton1Click(context);
    ASSERT_EQ(host.lines.size(), 5u);
    uint64_t acquisitionCalls = 0;
    server.run([&](SocketServer&) { acquisitionCalls = served->callCount() - calls; });
    // Twelve calls to attach, read the layers and pick, six per TEXT, two to drop the set.
    EXPECT_EQ(acquisitionCalls, 12u + 6u * 5u + 2u);

    for (auto& line : host.lines)
        line += u"-変更";
    server.run([&](SocketServer&) { calls = served->callCount(); });
    SpeedButton2Click(context);
    server.run([&](SocketServer& s) {
        // Three per changed line, plus attach, undo group, template look-up and Regen.
        EXPECT_EQ(served->callCount() - calls, 2u + 2u + 3u * 5u + 1u + 1u);
        EXPECT_EQ(static_cast<uint64_t>(s.memberAccessCount()), served->callCount() + 2)
            << "one round trip per call, plus one attach per operation";
        EXPECT_EQ(textStrings(served->drawing()),
                  (std::vector<std::u16string>{u"T1-変更", u"T2-変更", u"T3-変更", u"T4-変更", u"T5-変更"}));
        EXPECT_TRUE(served->undoLastStep());
        EXPECT_EQ(textStrings(served->drawing()), (std::vector<std::u16string>{u"T1", u"T2", u"T3", u"T4", u"T5"}));
    });
    EXPECT_EQ(client->exportedObjectCount(), 0) << "every object obtained was released";
}

}  // namespace
}  // namespace editor::test
