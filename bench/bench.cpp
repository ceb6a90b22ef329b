/* Benchmark: prints median and 95th-percentile times of the program's costly paths. */
#include "bench.h"

#include <algorithm>
#include <stdio.h>
#include <string>

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

void printGuardAndGdi32(const char *name, const std::vector<double> &guard, const std::vector<double> &gdi32)
{
    std::string line(name);
    printFigures((line + ", guard").c_str(), guard);
    printFigures((line + ", gdi32").c_str(), gdi32);
    if (!guard.empty() && !gdi32.empty())
        printf("%-56s ratio %8.2f\n", (line + ", guard / gdi32").c_str(), medianOf(guard) / medianOf(gdi32));
    fflush(stdout);
}

int main()
{
    setPortrait();
    benchGrid();
    benchGuard();
    benchFaceList();
    return 0;
}
