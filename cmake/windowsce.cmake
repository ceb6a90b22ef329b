# The program for the device, as a Windows Mobile 5.0 Pocket PC SDK builds it (CMake's
# WindowsCE system, version 5.01): the application's sources and resources alone, against the
# SDK's headers and libraries, which take the place of the stand-in layer. Nothing of the
# desktop's is built or linked here. cmake/wm5-pocketpc.cmake is the way in with the SDK;
# tools/check-device-build configures it with clang-cl standing in for the SDK's compiler.

# CMake's platform gives _WIN32_WCE, UNDER_CE, WINCE and the processor's names; the SDK's
# Pocket PC projects add these.
add_compile_definitions(WIN32_PLATFORM_PSPC UNICODE _UNICODE)

# The run-time inside the program: a device has no C run-time DLL of this compiler's.
set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")

# Only the libraries of the calls the program makes (tools/ce-api.txt), rather than CMake's
# wider Windows CE set: the core library with the compiler's run-time, and the shell.
set(CMAKE_C_STANDARD_LIBRARIES "coredll.lib corelibc.lib")
set(CMAKE_CXX_STANDARD_LIBRARIES "coredll.lib corelibc.lib")

add_executable(velmora WIN32 ${VELMORA_APP_SOURCES} app/winmain.cpp res/velmora.rc)
target_include_directories(velmora PRIVATE app res)
target_compile_options(velmora PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:/W3 $<$<BOOL:${VELMORA_WERROR}>:/WX>>)
target_link_libraries(velmora PRIVATE aygshell.lib)
# The version of Windows CE the program needs, which CMake's subsystem flag leaves out.
target_link_options(velmora PRIVATE /SUBSYSTEM:WINDOWSCE,${CMAKE_SYSTEM_VERSION})

# The installer: the .inf beside the program, and velmora.cab made from it by the CAB Wizard
# where Visual Studio's device tools have it.
set(VELMORA_INF $<TARGET_FILE_DIR:velmora>/velmora.inf)
file(GENERATE OUTPUT ${VELMORA_INF} INPUT ${CMAKE_SOURCE_DIR}/install/velmora.inf.in)
find_program(VELMORA_CABWIZ cabwiz.exe cabwiz
    PATHS "$ENV{ProgramFiles}/Microsoft Visual Studio 9.0/SmartDevices/SDK/SDKTools"
          "$ENV{ProgramFiles}/Microsoft Visual Studio 8/SmartDevices/SDK/SDKTools")
if(VELMORA_CABWIZ)
    add_custom_command(TARGET velmora POST_BUILD
        COMMAND ${VELMORA_CABWIZ} $<SHELL_PATH:${VELMORA_INF}> /err cabwiz.log
        WORKING_DIRECTORY $<TARGET_FILE_DIR:velmora>
        COMMENT "CAB Wizard: velmora.cab")
endif()
