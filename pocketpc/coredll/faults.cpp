/* A fault ends the program at once, as the device's kernel ends a program that faults.

   Wine calls a window procedure from inside the platform (KiUserCallbackDispatcher,
   dlls/ntdll/signal_x86_64.c) under a handler that takes every exception and carries on
   ("ignoring exception"): a fault in the platform's drawing under WM_PAINT then leaves the
   platform's locks held, and the next call that needs them waits for ever, silently. Such a
   fault is seen here first (vectored handlers run before any frame's) and ends the process
   with the platform's own words and the fault's code, as an unhandled fault elsewhere ends
   it (tools/emulator.reg). Only hardware faults in the platform's Unix code, which no
   handler of the platform takes, or in the program's own modules count; faults that the
   platform's Windows modules raise and take themselves (probing a pointer, say) pass. */
#include <windows.h>
#include <stdio.h>

static bool isHardwareFault(DWORD code)
{
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_STACK_OVERFLOW:
    case EXCEPTION_IN_PAGE_ERROR:
        return true;
    }
    return false;
}

/* Outside every module: the platform's Unix side. A module outside the system's folder: the
   program's own. */
static bool faultsWhereNothingHandlesIt(void *address)
{
    HMODULE module;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            (LPCWSTR)address, &module))
        return true;
    WCHAR path[MAX_PATH], system[MAX_PATH];
    UINT length = GetSystemWindowsDirectoryW(system, MAX_PATH);
    return GetModuleFileNameW(module, path, MAX_PATH) && length && length < MAX_PATH &&
           CompareStringOrdinal(path, (int)length, system, (int)length, TRUE) != CSTR_EQUAL;
}

/* As Wine words it (format_exception_msg, dlls/kernelbase/debug.c). */
static void sayFault(const EXCEPTION_RECORD *record)
{
    const char *what = record->ExceptionCode == EXCEPTION_INT_DIVIDE_BY_ZERO ? "division by zero"
                     : record->ExceptionCode == EXCEPTION_ILLEGAL_INSTRUCTION ? "illegal instruction"
                     : record->ExceptionCode == EXCEPTION_PRIV_INSTRUCTION ? "privileged instruction"
                     : record->ExceptionCode == EXCEPTION_STACK_OVERFLOW ? "stack overflow"
                     : "page fault";
    if (record->ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record->NumberParameters == 2)
        fprintf(stderr, "wine: Unhandled page fault on %s access to %p at address %p (thread %04lx), ending the program\n",
                record->ExceptionInformation[0] == EXCEPTION_WRITE_FAULT ? "write"
                : record->ExceptionInformation[0] == EXCEPTION_EXECUTE_FAULT ? "execute" : "read",
                (void *)record->ExceptionInformation[1], record->ExceptionAddress, GetCurrentThreadId());
    else
        fprintf(stderr, "wine: Unhandled %s at address %p (thread %04lx), ending the program\n", what,
                record->ExceptionAddress, GetCurrentThreadId());
    fflush(stderr);
}

static LONG CALLBACK endOnFault(EXCEPTION_POINTERS *pointers)
{
    const EXCEPTION_RECORD *record = pointers->ExceptionRecord;
    if (!isHardwareFault(record->ExceptionCode) || !faultsWhereNothingHandlesIt(record->ExceptionAddress))
        return EXCEPTION_CONTINUE_SEARCH;
    sayFault(record);
    TerminateProcess(GetCurrentProcess(), record->ExceptionCode);
    return EXCEPTION_CONTINUE_SEARCH;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        AddVectoredExceptionHandler(1, endOnFault);
    return TRUE;
}
