#include "velmora.h"

void showOutlineFontReport(void)
{
}
