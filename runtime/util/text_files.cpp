#include "runtime/util/text_files.h"

#include "runtime/text/pointer_check.h"
#include "runtime/text/text_core.h"
#include "runtime/text/text_mode.h"
#include "runtime/util/line_split.h"

namespace runtime {

namespace {

HANDLE CreateFileIn(const char* name, uint32_t access, uint32_t disposition) {
    return CreateFileA(name, access, 0, nullptr, disposition, 0, nullptr);
}

HANDLE CreateFileIn(const wchar_t* name, uint32_t access, uint32_t disposition) {
    return CreateFileW(name, access, 0, nullptr, disposition, 0, nullptr);
}

bool WriteAll(HANDLE file, const void* data, DWORD bytes) {
    if (bytes == 0) return true;
    DWORD written = 0;
    return WriteFile(file, data, bytes, &written, nullptr) && written == bytes;
}

// Moves the file pointer back by `bytes`, so that they are read again.
void PutBack(HANDLE file, DWORD bytes) {
    if (bytes == 0) return;
    LARGE_INTEGER distance{};
    distance.QuadPart = -static_cast<LONGLONG>(bytes);
    SetFilePointerEx(file, distance, nullptr, FILE_CURRENT);
}

// The bodies of the A and W members, by the text unit Ch. Each first checks its pointer with
// the member's call site.

template <class Ch>
HANDLE OpenTextFileIn(const Ch* name, uint32_t access, uint32_t disposition, const void* site) {
    CheckPointer(name, 0, site);
    return CreateFileIn(name, access, disposition);
}

// One read takes the units a line of the buffer's size can span; the units behind the line's
// break go back to the file.
template <class Ch>
int32_t ReadLineIn(HANDLE file, Ch* buffer, const void* site) {
    CheckPointer(buffer, 1, site);
    constexpr int32_t kRoom = kLineLimit - 1;
    Ch ahead[util::LineLookahead(kRoom)];
    DWORD bytes = 0;
    buffer[0] = 0;
    if (!ReadFile(file, ahead, sizeof(ahead), &bytes, nullptr) || bytes == 0) return kNoMoreLines;
    const auto count = static_cast<int32_t>(bytes / sizeof(Ch));
    if (count == 0) return kNoMoreLines;  // only half a unit was left, and is now read
    const util::LineCut cut = util::SplitLine(ahead, count, kRoom);
    for (int32_t i = 0; i < cut.length; ++i) buffer[i] = ahead[i];
    buffer[cut.length] = 0;
    // A line that the file's end closes takes everything read, a last half unit included.
    if (cut.consumed < count) PutBack(file, bytes - static_cast<DWORD>(cut.consumed * sizeof(Ch)));
    return cut.goesOn ? kLineLimit : cut.length;
}

template <class Ch>
int32_t WriteLineIn(HANDLE file, const Ch* text, const void* site) {
    CheckPointer(text, 0, site);
    const util::LineEnd end = util::LineEndFor(text, text::TextLength(text));
    Ch ending[3] = {};
    int32_t units = 0;
    for (; end.ending[units] != 0; ++units) ending[units] = static_cast<Ch>(end.ending[units]);
    const bool written = WriteAll(file, text, static_cast<DWORD>(end.kept * sizeof(Ch))) &&
                         WriteAll(file, ending, static_cast<DWORD>(units * sizeof(Ch)));
    return written ? 1 : 0;
}

}  // namespace

// Every public function below takes its own return address as the call site of its checks.

[[gnu::noinline]] HANDLE OpenTextFile(const void* name, uint32_t access, uint32_t disposition) {
    CheckPointer(name, 0, __builtin_return_address(0));
    if (wideMode != 0) return OpenTextFileW(static_cast<const wchar_t*>(name), access, disposition);
    return OpenTextFileA(static_cast<const char*>(name), access, disposition);
}

[[gnu::noinline]] HANDLE OpenTextFileA(const char* name, uint32_t access, uint32_t disposition) {
    return OpenTextFileIn(name, access, disposition, __builtin_return_address(0));
}

[[gnu::noinline]] HANDLE OpenTextFileW(const wchar_t* name, uint32_t access, uint32_t disposition) {
    return OpenTextFileIn(name, access, disposition, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t ReadLine(HANDLE file, void* buffer) {
    CheckPointer(buffer, 1, __builtin_return_address(0));
    if (wideMode != 0) return ReadLineW(file, static_cast<wchar_t*>(buffer));
    return ReadLineA(file, static_cast<char*>(buffer));
}

[[gnu::noinline]] int32_t ReadLineA(HANDLE file, char* buffer) {
    return ReadLineIn(file, buffer, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t ReadLineW(HANDLE file, wchar_t* buffer) {
    return ReadLineIn(file, buffer, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t WriteLine(HANDLE file, const void* text) {
    CheckPointer(text, 0, __builtin_return_address(0));
    if (wideMode != 0) return WriteLineW(file, static_cast<const wchar_t*>(text));
    return WriteLineA(file, static_cast<const char*>(text));
}

[[gnu::noinline]] int32_t WriteLineA(HANDLE file, const char* text) {
    return WriteLineIn(file, text, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t WriteLineW(HANDLE file, const wchar_t* text) {
    return WriteLineIn(file, text, __builtin_return_address(0));
}

int32_t AtEndOfFile(HANDLE file) {
    LARGE_INTEGER size{};
    LARGE_INTEGER position{};
    if (!GetFileSizeEx(file, &size) || !SetFilePointerEx(file, LARGE_INTEGER{}, &position, FILE_CURRENT)) return 1;
    return position.QuadPart >= size.QuadPart ? 1 : 0;
}

}  // namespace runtime
