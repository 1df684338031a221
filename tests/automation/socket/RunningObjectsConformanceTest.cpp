// The in-process running object table that unit tests use and the socket one that the
// program uses must answer alike.

#include "ServerThread.h"
#include "TestObjects.h"

#include "automation/AutomationError.h"
#include "automation/InProcessRunningObjects.h"
#include "automation/socket/RunningObjectDirectory.h"
#include "automation/socket/SocketRunningObjects.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <optional>

using automation::AutomationError;
using automation::ObjectRef;
using automation::RunningObjects;
using automation::Variant;
using automation::socket::RunningObjectDirectory;
using automation::socket::SocketServer;
namespace hr = automation::hr;

namespace {

// What a test does to a table from the server's side.
class TableHarness {
public:
    virtual ~TableHarness() = default;
    virtual RunningObjects& table() = 0;
    virtual void registerOnly(std::u16string_view progId) = 0;
    virtual void announce(std::u16string_view progId, ObjectRef object) = 0;
    virtual void revoke(std::u16string_view progId) = 0;
};

class InProcessHarness : public TableHarness {
public:
    RunningObjects& table() override { return table_; }
    void registerOnly(std::u16string_view progId) override { table_.registerProgId(progId); }
    void announce(std::u16string_view progId, ObjectRef object) override { table_.announce(progId, std::move(object)); }
    void revoke(std::u16string_view progId) override { table_.revoke(progId); }

private:
    automation::InProcessRunningObjects table_;
};

class SocketHarness : public TableHarness {
public:
    SocketHarness() : directory_(std::filesystem::path(temp_.path().toStdString()) / "rot"), table_(directory_) {}

    RunningObjects& table() override { return table_; }
    void registerOnly(std::u16string_view progId) override { directory_.registerProgId(progId); }
    void announce(std::u16string_view progId, ObjectRef object) override
    {
        auto& server = servers_[std::u16string(progId)];
        server = std::make_unique<sockettest::ServerThread>(std::move(object));
        server->run([&](SocketServer& s) { s.serve(directory_, progId); });
    }
    void revoke(std::u16string_view progId) override { servers_.erase(std::u16string(progId)); }

private:
    QTemporaryDir temp_;
    RunningObjectDirectory directory_;
    automation::socket::SocketRunningObjects table_;
    std::map<std::u16string, std::unique_ptr<sockettest::ServerThread>> servers_;
};

enum class Table { InProcess, Socket };

class RunningObjectsConformance : public testing::TestWithParam<Table> {
protected:
    RunningObjectsConformance()
        : harness_(GetParam() == Table::InProcess ? std::unique_ptr<TableHarness>(new InProcessHarness)
                                                  : std::unique_ptr<TableHarness>(new SocketHarness))
    {
    }

    std::optional<int32_t> errorOf(const std::function<void()>& f)
    {
        try {
            f();
        } catch (const AutomationError& e) {
            return e.code();
        }
        return std::nullopt;
    }

    std::unique_ptr<TableHarness> harness_;
};

TEST_P(RunningObjectsConformance, AnswersAlikeThroughAnInstancesLife)
{
    RunningObjects& table = harness_->table();
    EXPECT_EQ(errorOf([&] { table.isRunning(u"Kelvo.Unknown"); }), hr::InvalidClassString);
    EXPECT_EQ(errorOf([&] { table.activeObject(u"Kelvo.Unknown"); }), hr::InvalidClassString);

    harness_->registerOnly(u"Kelvo.Host");
    EXPECT_FALSE(table.isRunning(u"kelvo.host"));
    EXPECT_EQ(errorOf([&] { table.activeObject(u"Kelvo.Host"); }), hr::NotRunning);

    harness_->announce(u"Kelvo.Host", std::make_shared<sockettest::TestRoot>());
    EXPECT_TRUE(table.isRunning(u"KELVO.HOST"));
    EXPECT_EQ(table.activeObject(u"kelvo.Host")->call(u"Echo", {Variant(2)}).toInt(), 2);

    harness_->revoke(u"Kelvo.Host");
    EXPECT_FALSE(table.isRunning(u"Kelvo.Host"));
    EXPECT_EQ(errorOf([&] { table.activeObject(u"Kelvo.Host"); }), hr::NotRunning);

    harness_->announce(u"Kelvo.Faceless", nullptr);
    EXPECT_TRUE(table.isRunning(u"Kelvo.Faceless"));
    EXPECT_EQ(errorOf([&] { table.activeObject(u"Kelvo.Faceless"); }), hr::NoInterface);
}

INSTANTIATE_TEST_SUITE_P(Tables, RunningObjectsConformance, testing::Values(Table::InProcess, Table::Socket),
                         [](const testing::TestParamInfo<Table>& info) {
                             return info.param == Table::InProcess ? "InProcess" : "Socket";
                         });

}  // namespace
