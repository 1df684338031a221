// The end-to-end benchmark: kelvoedit's main window on the offscreen platform drives a real
// kelvocad process serving generated drawings, through the same handlers a click runs.
//
//   e2e_bench [--quick] [--benchmark_filter=REGEX] [--json=FILE]
//
// --quick leaves out the 100,000 sizes; the filter is matched against the row names
// (e2e/<Group>/<Operation>/<size>); --json writes the rows for bench/table.py as well.
#include "Measurement.h"
#include "Row.h"
#include "Runs.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <regex>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    bool quick = false;
    std::string filter = ".";
    std::string json;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--quick") {
            quick = true;
        } else if (argument.rfind("--benchmark_filter=", 0) == 0) {
            filter = argument.substr(std::strlen("--benchmark_filter="));
        } else if (argument.rfind("--json=", 0) == 0) {
            json = argument.substr(std::strlen("--json="));
        } else {
            std::fprintf(stderr, "unknown argument %s\n", argument.c_str());
            return 2;
        }
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    std::vector<bench::e2e::Row> rows;
    bench::e2e::Measurement measurement(std::regex(filter), rows);
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const std::vector<int> textSizes = quick ? std::vector<int>{1'000, 10'000} : std::vector<int>{1'000, 10'000, 100'000};
    for (const int n : textSizes)
        bench::e2e::runTextDrawing(measurement, folder.path(), n);
    for (const int n : {200, 2'000})
        bench::e2e::runBlockDrawing(measurement, folder.path(), n);
    bench::e2e::runTextCommands(measurement, quick ? 10'000 : 100'000);

    bench::e2e::printMarkdown(rows);
    if (!json.empty())
        bench::e2e::writeJson(rows, json);
    return 0;
}
