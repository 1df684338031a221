#include "kelvocad/app/CadCommandLine.h"

#include <gtest/gtest.h>

#include <ostream>

namespace kelvocad {
namespace {

struct CommandLineCase {
    const char* name;
    QStringList arguments;
    QStringList progIds;
    QString drawingFile;
    bool error;
};

void PrintTo(const CommandLineCase& c, std::ostream* os)
{
    *os << c.name;
}

class CadCommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CadCommandLineTest, Parses)
{
    const CommandLineCase& c = GetParam();
    const CadCommandLine parsed = CadCommandLine::parse(QStringList{QStringLiteral("kelvocad")} + c.arguments);
    EXPECT_EQ(!parsed.error.isEmpty(), c.error) << parsed.error.toStdString();
    if (c.error)
        return;
    EXPECT_EQ(parsed.progIds, c.progIds);
    EXPECT_EQ(parsed.drawingFile, c.drawingFile);
}

const QStringList defaults = {QStringLiteral("BricscadApp.AcadApplication"), QStringLiteral("KelvoCAD.Application")};

INSTANTIATE_TEST_SUITE_P(
    Arguments, CadCommandLineTest,
    ::testing::Values(
        CommandLineCase{"None", {}, defaults, {}, false},
        CommandLineCase{"File", {"plan.dxf"}, defaults, "plan.dxf", false},
        CommandLineCase{"ProgIdReplacesDefaults", {"--progid", "Test.Cad"}, {"Test.Cad"}, {}, false},
        CommandLineCase{"ProgIdWithEquals", {"--progid=Test.Cad", "a.dxf"}, {"Test.Cad"}, "a.dxf", false},
        CommandLineCase{"TwoProgIdsOnceEach", {"--progid", "A.B", "--progid", "x.y", "--progid", "a.b"}, {"A.B", "x.y"}, {}, false},
        CommandLineCase{"ProgIdWithoutName", {"--progid"}, {}, {}, true},
        CommandLineCase{"EmptyProgId", {"--progid="}, {}, {}, true},
        CommandLineCase{"UnknownOption", {"--fast"}, {}, {}, true},
        CommandLineCase{"TwoFiles", {"a.dxf", "b.dxf"}, {}, {}, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelvocad
