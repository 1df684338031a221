// KelvoCAD's own object model served over the socket: what a client does to it there must
// come out exactly as it does in-process.

#include "ServerThread.h"

#include "automation/AutomationError.h"
#include "automation/socket/SocketClient.h"
#include "automation/socket/SocketProxy.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/CadSession.h"
#include "kelvocad/objects/ScriptedPicker.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using automation::ObjectRef;
using automation::Variant;
using automation::socket::SocketClient;
using automation::socket::SocketServer;
using kelvocad::CadSession;
using sockettest::ServerThread;

namespace {

std::vector<std::u16string> textHandles(const kelvocad::Drawing& drawing, size_t count)
{
    std::vector<std::u16string> handles;
    for (const auto& e : drawing.entities())
        if (const auto* t = std::get_if<kelvocad::TextEntity>(&e); t && handles.size() < count)
            handles.push_back(t->handle);
    return handles;
}

std::vector<std::u16string> textStrings(const kelvocad::Drawing& drawing)
{
    std::vector<std::u16string> strings;
    for (const auto& e : drawing.entities())
        if (const auto* t = std::get_if<kelvocad::TextEntity>(&e))
            strings.push_back(t->string);
    return strings;
}

// A pick and an edit as KelvoEdit performs them, written down value by value.
std::vector<std::u16string> pickAndEdit(const ObjectRef& app, const std::function<void()>& planPick)
{
    std::vector<std::u16string> transcript;
    auto note = [&](const Variant& v) { transcript.push_back(automation::describe(v)); };

    const ObjectRef doc = app->get(u"ActiveDocument").toObject();
    note(doc->get(u"Name"));
    const ObjectRef sets = doc->get(u"SelectionSets").toObject();
    const ObjectRef set = sets->call(u"Add", {Variant(u"SSTEMP")}).toObject();
    planPick();
    set->call(u"SelectOnScreen", {Variant::int16Array({0}), Variant::variantArray({Variant(u"TEXT")})});
    const int n = set->get(u"Count").toInt();
    note(Variant(n));
    std::vector<ObjectRef> texts;
    for (int i = 0; i < n; ++i) {
        texts.push_back(set->call(u"Item", {Variant(i)}).toObject());
        for (const char16_t* member : {u"Handle", u"TextString", u"InsertionPoint", u"Layer", u"Height"})
            note(texts.back()->get(member));
    }
    doc->call(u"StartUndoMark", {});
    texts.at(0)->put(u"TextString", Variant(u"配線-01"));
    doc->call(u"EndUndoMark", {});
    note(texts.at(0)->get(u"textstring"));

    const ObjectRef layers = doc->get(u"Layers").toObject();
    for (int i = 0; i < layers->get(u"Count").toInt(); ++i) {
        const ObjectRef layer = layers->get(u"Item", Variant(i)).toObject();
        note(layer->get(u"Name"));
        note(layer->get(u"Lock"));
    }
    note(doc->call(u"GetVariable", {Variant(u"VIEWSIZE")}));
    note(doc->call(u"GetVariable", {Variant(u"SCREENSIZE")}));
    try {
        doc->call(u"HandleToObject", {Variant(u"FFFFFF")});
    } catch (const automation::AutomationError& e) {
        note(Variant(e.code()));
        note(Variant(e.description()));
    }
    set->call(u"Clear", {});
    set->call(u"Delete", {});
    return transcript;
}

TEST(KelvoCadOverSocket, SampleDrawingAnswersAsInProcess)
{
    const auto local = CadSession::create();
    const auto handles = textHandles(local->drawing(), 3);
    ASSERT_EQ(handles.size(), 3u);
    const auto expected =
        pickAndEdit(local->application(), [&] { local->scriptedPicker()->nextPickReturns(handles); });
    ASSERT_EQ(expected.at(1), u"3") << "the pick chose the three TEXTs";

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::shared_ptr<CadSession> served;
    ServerThread server([&] {
        served = CadSession::create();
        return served->application();
    }());
    const QString path = dir.filePath("kelvocad.socket");
    server.run([&](SocketServer& s) { s.listen(path); });
    const auto client = SocketClient::connect(path, std::chrono::milliseconds(5));
    {
        const ObjectRef app = client->rootObject();
        const auto actual = pickAndEdit(app, [&] {
            server.run([&](SocketServer&) { served->scriptedPicker()->nextPickReturns(handles); });
        });
        EXPECT_EQ(actual, expected);
    }
    EXPECT_EQ(client->exportedObjectCount(), 0) << "the application object too was released";

    server.run([&](SocketServer&) {
        // One member access, one round trip: the session saw exactly the in-process calls,
        // and the server ran one request per call plus the attach.
        EXPECT_EQ(served->callCount(), local->callCount());
        EXPECT_EQ(static_cast<uint64_t>(server.server().memberAccessCount()), served->callCount() + 1);
        EXPECT_EQ(textStrings(served->drawing()), textStrings(local->drawing()));
        EXPECT_EQ(textStrings(served->drawing()).at(0), u"配線-01");
    });
}

TEST(KelvoCadOverSocket, SessionTurningCallsAwayIsAskedAgain)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::shared_ptr<CadSession> served;
    ServerThread server([&] {
        served = CadSession::create();
        return served->application();
    }());
    const QString path = dir.filePath("kelvocad.socket");
    server.run([&](SocketServer& s) { s.listen(path); });
    const ObjectRef app = SocketClient::connect(path, std::chrono::milliseconds(5))->rootObject();
    server.run([&](SocketServer&) { served->faults().setBusy(3); });
    EXPECT_EQ(app->get(u"ActiveDocument").toObject()->get(u"Name").toString(), u"Sample.dxf");
    EXPECT_EQ(server.server().busyReplyCount(), 3);
}

}  // namespace
