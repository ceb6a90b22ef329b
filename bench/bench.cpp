/* Benchmark: prints median and 95th-percentile times of the program's costly paths. */
#include "bench.h"

#include <algorithm>
#include <stdio.h>
#include <string>
#include <wchar.h>

double nowMilliseconds(void)
{
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return 1000.0 * (double)now.QuadPart / (double)frequency.QuadPart;
}

static double medianOf(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

void printFigures(const char *name, std::vector<double> samples)
{
    if (samples.empty())
        return;
    std::sort(samples.begin(), samples.end());
    double median = samples[samples.size() / 2];
    double p95 = samples[std::min(samples.size() - 1, samples.size() * 95 / 100)];
    printf("%-56s median %8.3f ms  p95 %8.3f ms  (%u runs)\n", name, median, p95, (unsigned)samples.size());
    fflush(stdout);
}

void printRatio(const char *name, const char *first, const std::vector<double> &firstSamples,
                const char *second, const std::vector<double> &secondSamples)
{
    std::string line = std::string(name) + ", " + first + " / " + second;
    if (!firstSamples.empty() && !secondSamples.empty())
        printf("%-56s ratio %8.2f\n", line.c_str(), medianOf(firstSamples) / medianOf(secondSamples));
    fflush(stdout);
}

void printSideBySide(const char *name, const char *first, const std::vector<double> &firstSamples,
                     const char *second, const std::vector<double> &secondSamples)
{
    std::string line(name);
    printFigures((line + ", " + first).c_str(), firstSamples);
    printFigures((line + ", " + second).c_str(), secondSamples);
    printRatio(name, first, firstSamples, second, secondSamples);
}

void printGuardAndGdi32(const char *name, const std::vector<double> &guard, const std::vector<double> &gdi32)
{
    printSideBySide(name, "guard", guard, "gdi32", gdi32);
}

/* Every part, or the parts named: grid, guard, dialogs. */
int wmain(int argc, wchar_t **argv)
{
    static const struct { const wchar_t *name; void (*run)(void); } parts[] = {
        { L"grid", benchGrid }, { L"guard", benchGuard }, { L"dialogs", benchDialogs },
    };
    setPortrait();
    for (const auto &part : parts) {
        bool named = argc < 2;
        for (int i = 1; i < argc; i++)
            named |= wcscmp(argv[i], part.name) == 0;
        if (named)
            part.run();
    }
    return 0;
}
