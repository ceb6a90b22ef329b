/* The SDK's shell header: the stand-in layer's declares the same records, constants and
   calls, as the device's shell library has them. */
#include "../../pocketpc/aygshell/aygshell.h"
