// A port-access library for the program's tests: its Out32 appends "PORT VALUE" as a line to
// out32_calls.txt in the current folder, so that a test reads every call the program made, in
// order. Built twice: with Out32 exported by its plain name (the program takes it), and with
// the linker's stdcall decoration "Out32@8" (the program must refuse it: it has no "Out32").
// With MT_OUT32_FAULT_VALUE=V in the environment, a call with the value V is recorded and then
// faults (a write through a null pointer), as a broken port driver would inside the program.

#include <windows.h>

#include <cstdio>
#include <cstdlib>

extern "C" __declspec(dllexport) void __stdcall Out32(short port, short data) {
    const HANDLE file = CreateFileA("out32_calls.txt", FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    char line[32];
    const int length = std::snprintf(line, sizeof line, "%d %d\n", port, data);
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(file);
    char faultValue[16];
    const DWORD named = GetEnvironmentVariableA("MT_OUT32_FAULT_VALUE", faultValue, sizeof faultValue);
    if (named > 0 && named < sizeof faultValue && std::atoi(faultValue) == data) {
        *static_cast<volatile int*>(nullptr) = data;
    }
}
