# Cross-building for 32-bit Windows with Debian's i686 mingw-w64, the same compiler as the
# 64-bit build: pointers and handles are 4 bytes wide, as on the device, so the platform's
# records have the device's sizes. Nothing of this build runs here; tools/test only builds it.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
