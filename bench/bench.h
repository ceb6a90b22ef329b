/* Shared by the benchmark's parts: timing and the printed figures. */
#ifndef VELMORA_BENCH_H
#define VELMORA_BENCH_H

#include "harness.h"

#include <vector>

/* Milliseconds from a monotonic high-resolution clock. */
double nowMilliseconds(void);
/* Prints "name: median X ms, p95 Y ms over N runs". */
void printFigures(const char *name, std::vector<double> samples);

/* The measurements, each printing its own figures. */
void benchGrid(void);
void benchFaceList(void);

#endif
