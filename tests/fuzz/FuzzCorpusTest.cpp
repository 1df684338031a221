// Every seed and every finding of the fuzzers of the core, replayed through the fuzzer's
// own check in each run of the suite.
#include "FuzzCorpus.h"
#include "GridPasteCheck.h"
#include "ListFileCheck.h"
#include "NumberTextCheck.h"
#include "SettingsFileCheck.h"
#include "WildcardCheck.h"

#include "common/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace {

using fuzzing::CorpusInput;

class FuzzCorpus : public ::testing::TestWithParam<CorpusInput> {};

TEST_P(FuzzCorpus, PassesTheFuzzersCheck)
{
    const CorpusInput& input = GetParam();
    ASSERT_FALSE(input.file.empty()) << "no seed for " << input.fuzzer;
    const std::string bytes = fuzzing::readBytes(input.file);
    testing_support::TemporaryFolder folder;
    std::string fault;
    if (input.fuzzer == "grid_paste")
        fault = fuzzing::checkGridPasteInput(bytes);
    else if (input.fuzzer == "number_text")
        fault = fuzzing::checkNumberText(bytes);
    else if (input.fuzzer == "wildcard")
        fault = fuzzing::checkWildcardInput(bytes);
    else if (input.fuzzer == "list_file")
        fault = fuzzing::checkListFile(folder / "KelvoEditTagList.txt", bytes);
    else if (input.fuzzer == "settings_file")
        fault = fuzzing::checkSettingsInput(folder / "KelvoEdit.ini", bytes);
    else
        FAIL() << "no check for " << input.fuzzer;
    EXPECT_EQ(fault, "");
}

INSTANTIATE_TEST_SUITE_P(Corpus, FuzzCorpus,
                         ::testing::ValuesIn(fuzzing::corpusInputs(KELVO_FUZZ_FOLDER,
                                                                   {"grid_paste", "number_text", "wildcard",
                                                                    "list_file", "settings_file"})),
                         fuzzing::corpusInputName);

}  // namespace
