#include "bench.h"

void benchGrid(void)
{
}
