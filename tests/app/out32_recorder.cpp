// A port-access library for the program's tests: its Out32 appends "PORT VALUE" as a line to
// out32_calls.txt in the current folder, so that a test reads every call the program made, in
// order. Built twice: with Out32 exported by its plain name (the program takes it), and with
// the linker's stdcall decoration "Out32@8" (the program must refuse it: it has no "Out32").

#include <windows.h>

#include <cstdio>

extern "C" __declspec(dllexport) void __stdcall Out32(short port, short data) {
    const HANDLE file = CreateFileA("out32_calls.txt", FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    char line[32];
    const int length = std::snprintf(line, sizeof line, "%d %d\n", port, data);
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(file);
}
