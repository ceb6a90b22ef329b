# The Windows Mobile 5.0 Pocket PC SDK for ARM (ARMV4I) with Visual Studio 2005 or 2008's
# device compiler: the device build (cmake/windowsce.cmake). With the "Visual Studio 9 2008"
# generator (CMake 3.20 to 3.29) the SDK is the platform; with "NMake Makefiles" the compiler,
# headers and libraries are those of the command prompt's PATH, INCLUDE and LIB (README).
set(CMAKE_SYSTEM_NAME WindowsCE)
set(CMAKE_SYSTEM_VERSION 5.01)
set(CMAKE_SYSTEM_PROCESSOR ARMV4I)
if(CMAKE_GENERATOR MATCHES "^Visual Studio")
    set(CMAKE_GENERATOR_PLATFORM "Windows Mobile 5.0 Pocket PC SDK (ARMV4I)")
endif()
