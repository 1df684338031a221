#include "CadTestSupport.h"

namespace kelvocad::test {
namespace {

using CallLogAndFaultsTest = CadFixture;

TEST_F(CallLogAndFaultsTest, LogRecordsEveryAccessWithItsOutcome)
{
    session->callLog().clear();
    const uint64_t before = session->callCount();
    const auto handle = textHandle(u"W-01");
    auto text = entity(handle);
    text->put(u"TextString", Variant(u"W-1"));
    (void)errorOf([&] { text->get(u"NoSuchMember"); });

    const auto& records = session->callLog().records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(session->callCount(), before + 3);

    EXPECT_EQ(records[0].objectKind, u"Document");
    EXPECT_EQ(records[0].member, u"HandleToObject");
    EXPECT_EQ(records[0].access, MemberAccess::Call);
    EXPECT_EQ(records[0].args, std::vector<Variant>{Variant(handle)});
    EXPECT_EQ(CallRecord::loggedObject(records[0].result), text);

    EXPECT_EQ(records[1].objectKind, u"Text");
    EXPECT_EQ(records[1].objectId, handle);
    EXPECT_EQ(records[1].access, MemberAccess::Put);
    EXPECT_EQ(records[1].value, Variant(u"W-1"));
    EXPECT_FALSE(records[1].failed());

    EXPECT_EQ(records[2].errorCode, hr::UnknownName);
    EXPECT_EQ(records[2].index, before + 3);
    EXPECT_NE(records[2].describe().find(u"NoSuchMember"), std::u16string::npos);
    EXPECT_EQ(session->callLog().count(u"textstring", u"Text"), 1u);
}

TEST_F(CallLogAndFaultsTest, LogDoesNotKeepObjectsOrTheSessionAlive)
{
    std::weak_ptr<CadSession> watch = session;
    std::weak_ptr<automation::Object> text = entity(textHandle(u"W-01"));
    auto reference = entity(blockReferenceHandles()[0]);
    reference->call(u"GetAttributes", {});
    EXPECT_TRUE(text.expired());
    reference.reset();
    app.reset();
    doc.reset();
    session.reset();
    EXPECT_TRUE(watch.expired());
}

TEST_F(CallLogAndFaultsTest, LogKeepsTheMostRecentCalls)
{
    session->callLog().setCapacity(3);
    for (int i = 0; i < 5; ++i)
        doc->call(u"GetVariable", {Variant(i % 2 ? u"VIEWSIZE" : u"SCREENSIZE")});
    const auto& records = session->callLog().records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records.back().index, session->callCount());
    EXPECT_EQ(records.front().index, session->callCount() - 2);
    EXPECT_EQ(session->callCount(u"getvariable"), 5u);  // the counters keep what the log dropped
}

TEST_F(CallLogAndFaultsTest, MemberFailsOnAKindOfObject)
{
    session->faults().failMember(
        FaultInjector::MemberFailure::of(u"TextString").onKind(u"Text").withError(hr::ServerFault).onlyTimes(1));
    auto text = entity(textHandle(u"W-01"));
    auto attribute = entity(blockReferenceHandles(u"WIRE_NO")[0])->call(u"GetAttributes", {}).at(0).toObject();
    EXPECT_EQ(attribute->get(u"TextString").toString(), u"W-01");  // another kind: untouched
    EXPECT_EQ(errorOf([&] { text->get(u"TextString"); }), hr::ServerFault);
    EXPECT_EQ(text->get(u"TextString").toString(), u"W-01");  // failed only once
}

TEST_F(CallLogAndFaultsTest, MemberFailsOnOneEntity)
{
    const auto target = textHandle(u"W-02");
    session->faults().failMember(FaultInjector::MemberFailure::of(u"Handle").onObject(target));
    EXPECT_NO_THROW(entity(textHandle(u"W-01"))->get(u"Handle"));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(errorOf([&] { entity(target)->get(u"Handle"); }), hr::Exception);
}

TEST_F(CallLogAndFaultsTest, CallFailsAtItsNumber)
{
    auto text = entity(textHandle(u"W-01"));
    const uint64_t next = session->callCount() + 1;
    session->faults().failCall(next + 1, hr::Disconnected, u"gone");
    EXPECT_NO_THROW(text->get(u"Layer"));
    EXPECT_EQ(errorOf([&] { text->put(u"TextString", Variant(u"lost")); }), hr::Disconnected);
    EXPECT_EQ(text->get(u"TextString").toString(), u"W-01");  // the failed write did nothing
}

TEST_F(CallLogAndFaultsTest, EntityErasedBetweenTwoCalls)
{
    const auto handle = textHandle(u"W-04");
    auto text = entity(handle);
    session->faults().beforeCall(session->callCount() + 2, [&] { drawing().erase(handle); });
    EXPECT_EQ(text->get(u"TextString").toString(), u"W-04");
    EXPECT_EQ(errorOf([&] { text->get(u"TextString"); }), hr::Exception);
    EXPECT_EQ(errorOf([&] { entity(handle); }), hr::Exception);
}

TEST_F(CallLogAndFaultsTest, BusyServerTurnsCallsAwayUntilItIsFree)
{
    auto text = entity(textHandle(u"W-01"));
    session->faults().setBusy(2);
    EXPECT_TRUE(session->faults().busy());
    EXPECT_EQ(errorOf([&] { text->put(u"TextString", Variant(u"W-1")); }), hr::CallRejected);
    EXPECT_EQ(errorOf([&] { text->put(u"TextString", Variant(u"W-1")); }), hr::CallRejected);
    EXPECT_FALSE(session->faults().busy());
    EXPECT_EQ(text->get(u"TextString").toString(), u"W-01");  // rejected calls did nothing
    text->put(u"TextString", Variant(u"W-1"));
    EXPECT_EQ(text->get(u"TextString").toString(), u"W-1");
    EXPECT_EQ(session->callLog().count(u"TextString"), 5u);  // rejected ones count too

    session->faults().setBusy(-1);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(errorOf([&] { app->get(u"HWND"); }), hr::CallRejected);
    session->faults().setBusy(0);
    EXPECT_NO_THROW(app->get(u"HWND"));
}

TEST_F(CallLogAndFaultsTest, ClearedPlanFaultsNothing)
{
    session->faults().failMember(FaultInjector::MemberFailure::of(u"HWND"));
    session->faults().failCall(session->callCount() + 1);
    session->faults().setBusy(-1);
    session->faults().clear();
    EXPECT_NO_THROW(app->get(u"HWND"));
}

}  // namespace
}  // namespace kelvocad::test
