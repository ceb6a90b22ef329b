#include "bench.h"

void benchFaceList(void)
{
}
