#include <QCoreApplication>

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    // The socket transport wants an application object in the process.
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
