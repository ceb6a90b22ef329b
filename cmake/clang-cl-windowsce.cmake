# clang-cl standing in for the Windows Mobile 5.0 SDK's ARM compiler, so that this machine can
# configure the device build and compile what it compiles: MSVC mode, C++03 (the SDK's
# compiler predates C++11), 32-bit ARM. The SDK's headers are found through INCLUDE, as in the
# SDK's command prompt; tools/check-device-build points it at Wine's headers. There is no
# coredll.lib here, so nothing is linked.
set(CMAKE_SYSTEM_NAME WindowsCE)
set(CMAKE_SYSTEM_VERSION 5.01)
set(CMAKE_SYSTEM_PROCESSOR ARM)

find_program(VELMORA_CLANG_CL NAMES clang-cl clang-cl-14 clang-cl-15 clang-cl-16 REQUIRED)
find_program(VELMORA_LLVM_RC NAMES llvm-rc llvm-rc-14 llvm-rc-15 llvm-rc-16 REQUIRED)
find_program(VELMORA_LLD_LINK NAMES lld-link lld-link-14 lld-link-15 lld-link-16 REQUIRED)
set(CMAKE_C_COMPILER ${VELMORA_CLANG_CL})
set(CMAKE_CXX_COMPILER ${VELMORA_CLANG_CL})
set(CMAKE_RC_COMPILER ${VELMORA_LLVM_RC})
set(CMAKE_LINKER ${VELMORA_LLD_LINK})
set(CMAKE_C_COMPILER_TARGET armv7-pc-windows-msvc)
set(CMAKE_CXX_COMPILER_TARGET armv7-pc-windows-msvc)
set(CMAKE_CXX_FLAGS_INIT "/clang:-std=c++03")

# The compiler checks compile without linking; CMake has no platform file for clang-cl on
# Windows CE, so the project's own (Platform/) gives it the MSVC one's rules.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
