/* Shared by the benchmark's parts: timing and the printed figures. */
#ifndef VELMORA_BENCH_H
#define VELMORA_BENCH_H

#include "harness.h"

#include <vector>

enum { RUNS = 200 };   /* samples of each measurement */

/* Milliseconds from a monotonic high-resolution clock. */
double nowMilliseconds(void);
/* Prints "name: median X ms, p95 Y ms over N runs". */
void printFigures(const char *name, std::vector<double> samples);
/* Prints "name, first / second: ratio R" of the medians. */
void printRatio(const char *name, const char *first, const std::vector<double> &firstSamples,
                const char *second, const std::vector<double> &secondSamples);
/* Prints the figures of both sides and the ratio of their medians, the first over the second. */
void printSideBySide(const char *name, const char *first, const std::vector<double> &firstSamples,
                     const char *second, const std::vector<double> &secondSamples);
/* The guards beside gdi32 alone. */
void printGuardAndGdi32(const char *name, const std::vector<double> &guard, const std::vector<double> &gdi32);

/* The measurements, each printing its own figures. */
void benchGrid(void);
void benchGuard(void);
void benchDialogs(void);

/* Parts of the grid's measurements: the grid scrolled to a row and painted; one erase and
   paint of the whole client; the whole client repainted at a row, RUNS times; page after page
   down from the top, twice. */
void scrollToRow(int row);
double timedFullRepaint(void);
void measureFullRepaint(const char *name, int row);
void measurePageDown(const char *name);

#endif
