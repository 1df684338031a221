#pragma once

// The inputs a fuzzer starts from and the ones it found faults with, as files of the
// source tree: tests/fuzz/seeds/NAME/ and tests/fuzz/findings/NAME/. The replaying tests
// run every one through the fuzzer's own check, so a seed that stops passing, or a finding
// that comes back, fails the normal suite.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace fuzzing {

struct CorpusInput {
    std::string fuzzer;  // NAME
    std::string kind;    // "seeds" or "findings"
    std::filesystem::path file;
};

inline void PrintTo(const CorpusInput& input, std::ostream* os)
{
    *os << input.kind << "/" << input.fuzzer << "/" << input.file.filename().string();
}

inline std::string readBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every file under seeds/NAME and findings/NAME of the folder, by name. A fuzzer without
// a seed would replay nothing, so its name stands alone and fails (see corpusInputName).
inline std::vector<CorpusInput> corpusInputs(const std::filesystem::path& folder, const std::vector<std::string>& fuzzers)
{
    std::vector<CorpusInput> inputs;
    for (const std::string& fuzzer : fuzzers) {
        bool seeded = false;
        for (const char* kind : {"seeds", "findings"}) {
            const std::filesystem::path dir = folder / kind / fuzzer;
            if (!std::filesystem::is_directory(dir))
                continue;
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::directory_iterator(dir))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            for (const auto& file : files) {
                inputs.push_back({fuzzer, kind, file});
                seeded = seeded || std::string(kind) == "seeds";
            }
        }
        if (!seeded)
            inputs.push_back({fuzzer, "seeds", {}});
    }
    return inputs;
}

inline std::string corpusInputName(const ::testing::TestParamInfo<CorpusInput>& info)
{
    std::string name = info.param.kind + "_" + info.param.fuzzer + "_" +
                       (info.param.file.empty() ? std::string("none") : info.param.file.filename().string());
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

}  // namespace fuzzing
