#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Qt's event dispatchers and sockets want an application object in the process.
class QtEnvironment : public testing::Environment {
public:
    void SetUp() override { app_ = std::make_unique<QCoreApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "socket_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> app_;
};

const auto* const environment = testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
