// Inputs with which the fuzzers found faults, replayed through the fuzzers' own checks. An
// input is the fuzzer's bytes as they were found (or shortened while keeping the fault);
// see FuzzInput.h for how the checks read them.
#include "GridPasteCheck.h"
#include "ListFileCheck.h"
#include "NumberTextCheck.h"
#include "SettingsFileCheck.h"
#include "WildcardCheck.h"

#include "common/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Finding {
    const char* name;
    std::string bytes;
};

std::string findingName(const ::testing::TestParamInfo<Finding>& info)
{
    return info.param.name;
}

class ListFileFinding : public ::testing::TestWithParam<Finding> {};

TEST_P(ListFileFinding, ReadsAndWritesBackEveryLine)
{
    testing_support::TemporaryFolder folder;
    EXPECT_EQ(fuzzing::checkListFile(folder / "KelvoEditTagList.txt", GetParam().bytes), "");
}

INSTANTIATE_TEST_SUITE_P(
    Found, ListFileFinding,
    ::testing::Values(
        // A UTF-16 list with a lone surrogate, written as UTF-8, came back with U+FFFD.
        Finding{"LoneSurrogateInUtf16", std::string("\xFF\xFE" "A\x00\x00\xD8" "B\x00", 8)},
        Finding{"LoneSurrogateFound", std::string("\xFF\xFE\x41\xEF\xBC\xBE\xFF\xFF\x5F\xB0\x00\x45\x2F\xD8\x00", 15)}),
    findingName);

class SettingsFileFinding : public ::testing::TestWithParam<Finding> {};

TEST_P(SettingsFileFinding, KeysReadBackAsWritten)
{
    testing_support::TemporaryFolder folder;
    EXPECT_EQ(fuzzing::checkSettingsInput(folder / "KelvoEdit.ini", GetParam().bytes), "");
}

INSTANTIATE_TEST_SUITE_P(
    Found, SettingsFileFinding,
    ::testing::Values(
        // A soft hyphen at the end of a value vanished when the file was written in the
        // ANSI code page: the converter skipped it instead of reporting it unmappable.
        Finding{"SoftHyphenDropped", "\x1B\xFF\xFF\x41keis\xAD"}),
    findingName);

}  // namespace
