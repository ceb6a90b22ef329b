/* What the tests, the benchmark and the font sweep share, one header for each role: the
   driver, the screen read back, the dialogs and their fields, the fonts; and the emulated
   device's own controls and font listing, which they use too. No GoogleTest here: the tests'
   fixture and checks are tests/apptest.h. */
#ifndef VELMORA_HARNESS_H
#define VELMORA_HARNESS_H

#include "devicefonts.h"
#include "emulator.h"

#include "driver.h"
#include "screen.h"
#include "dialogs.h"
#include "fonts.h"

#endif
