#include "ui/DefaultErrorHandler.h"
#include "app/ui/TestDoubles.h"
#include "common/FileError.h"

#include <gtest/gtest.h>

#include <QDir>

#include <stdexcept>

namespace {

using Kind = ui::UserMessages::Kind;

TEST(DefaultErrorHandler, ShowsWhatEscapesAHandlerAndCarriesOn)
{
    testing_support::RecordingMessages messages;
    ui::DefaultErrorHandler handler(messages);

    int runs = 0;
    handler.run([&] { ++runs; });
    handler.run([&] {
        ++runs;
        throw std::out_of_range("List index out of bounds (-1)");
    });
    handler.run([&] {
        ++runs;
        throw common::FileError("/x/KelvoEditTagList.txt", "permission denied");
    });
    handler.run([&] {
        ++runs;
        throw 42;
    });

    EXPECT_EQ(runs, 4);
    ASSERT_EQ(messages.shown.size(), 3u);
    for (const auto& message : messages.shown)
        EXPECT_EQ(message.kind, Kind::Error);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("List index out of bounds (-1)"));
    EXPECT_TRUE(messages.shown[1].text.contains(QDir::toNativeSeparators(QStringLiteral("/x/KelvoEditTagList.txt"))));
    EXPECT_TRUE(messages.shown[1].text.contains(QStringLiteral("permission denied")));
    EXPECT_FALSE(messages.shown[2].text.isEmpty());
}

// A failing message box must not take the program down either.
TEST(DefaultErrorHandler, SurvivesAFailingMessageBox)
{
    struct ThrowingMessages : ui::UserMessages {
        void show(Kind, const QString&) override { throw std::runtime_error("no screen"); }
    } messages;
    ui::DefaultErrorHandler handler(messages);
    EXPECT_NO_THROW(handler.run([] { throw std::runtime_error("first"); }));
}

}  // namespace
