// Every seed and every finding of the socket transport's fuzzers, replayed through the
// fuzzer's own check in each run of the suite.
#include "FuzzCorpus.h"
#include "SocketDecodeCheck.h"
#include "SocketServerCheck.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace {

using fuzzing::CorpusInput;

class FuzzSocketCorpus : public ::testing::TestWithParam<CorpusInput> {};

TEST_P(FuzzSocketCorpus, PassesTheFuzzersCheck)
{
    const CorpusInput& input = GetParam();
    ASSERT_FALSE(input.file.empty()) << "no seed for " << input.fuzzer;
    const std::string bytes = fuzzing::readBytes(input.file);
    std::string fault;
    if (input.fuzzer == "socket_decode") {
        fault = fuzzing::checkSocketStream(bytes);
    } else if (input.fuzzer == "socket_server") {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        fault = fuzzing::checkServerConversation(dir.filePath(QStringLiteral("server.sock")), bytes);
    } else {
        FAIL() << "no check for " << input.fuzzer;
    }
    EXPECT_EQ(fault, "");
}

INSTANTIATE_TEST_SUITE_P(Corpus, FuzzSocketCorpus,
                         ::testing::ValuesIn(fuzzing::corpusInputs(KELVO_FUZZ_FOLDER, {"socket_decode", "socket_server"})),
                         fuzzing::corpusInputName);

}  // namespace
