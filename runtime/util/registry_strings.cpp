#include "runtime/util/registry_strings.h"

#include "runtime/process/runtime_heap.h"
#include "runtime/template/template_record.h"
#include "runtime/text/pointer_check.h"
#include "runtime/text/text_core.h"
#include "runtime/text/text_mode.h"

namespace runtime {

namespace {

constexpr REGSAM kReadAccess = KEY_READ;                     // 0x20019
constexpr REGSAM kReadWriteAccess = KEY_READ | KEY_WRITE;    // 0x2001F
static_assert(kReadAccess == 0x20019 && kReadWriteAccess == 0x2001F);

constexpr uint32_t kFirstRoot = 0x80000000u;  // HKEY_CLASSES_ROOT
constexpr uint32_t kLastRoot = 0x80000006u;   // HKEY_DYN_DATA

// The system's registry functions by the text unit of their names and data.
LONG OpenKey(HKEY root, const char* subkey, REGSAM access, HKEY* key) {
    return RegOpenKeyExA(root, subkey, 0, access, key);
}
LONG OpenKey(HKEY root, const wchar_t* subkey, REGSAM access, HKEY* key) {
    return RegOpenKeyExW(root, subkey, 0, access, key);
}
LONG CreateKey(HKEY root, const char* subkey, HKEY* key) {
    return RegCreateKeyExA(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, kReadWriteAccess, nullptr, key, nullptr);
}
LONG CreateKey(HKEY root, const wchar_t* subkey, HKEY* key) {
    return RegCreateKeyExW(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, kReadWriteAccess, nullptr, key, nullptr);
}
LONG QueryValue(HKEY key, const char* name, DWORD* type, void* data, DWORD* bytes) {
    return RegQueryValueExA(key, name, nullptr, type, static_cast<BYTE*>(data), bytes);
}
LONG QueryValue(HKEY key, const wchar_t* name, DWORD* type, void* data, DWORD* bytes) {
    return RegQueryValueExW(key, name, nullptr, type, static_cast<BYTE*>(data), bytes);
}
LONG SetValue(HKEY key, const char* name, const void* data, DWORD bytes) {
    return RegSetValueExA(key, name, 0, REG_SZ, static_cast<const BYTE*>(data), bytes);
}
LONG SetValue(HKEY key, const wchar_t* name, const void* data, DWORD bytes) {
    return RegSetValueExW(key, name, 0, REG_SZ, static_cast<const BYTE*>(data), bytes);
}
LONG DeleteValue(HKEY key, const char* name) { return RegDeleteValueA(key, name); }
LONG DeleteValue(HKEY key, const wchar_t* name) { return RegDeleteValueW(key, name); }
LONG DeleteKey(HKEY root, const char* subkey) { return RegDeleteKeyA(root, subkey); }
LONG DeleteKey(HKEY root, const wchar_t* subkey) { return RegDeleteKeyW(root, subkey); }
LONG EnumKey(HKEY key, DWORD index, char* name, DWORD* units) {
    return RegEnumKeyExA(key, index, name, units, nullptr, nullptr, nullptr, nullptr);
}
LONG EnumKey(HKEY key, DWORD index, wchar_t* name, DWORD* units) {
    return RegEnumKeyExW(key, index, name, units, nullptr, nullptr, nullptr, nullptr);
}
LONG CountSubkeys(HKEY key, const char*, DWORD* count, DWORD* longest) {
    return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, count, longest, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr);
}
LONG CountSubkeys(HKEY key, const wchar_t*, DWORD* count, DWORD* longest) {
    return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, count, longest, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr);
}

void CheckIfGiven(const void* pointer, int32_t forWrite, const void* site) {
    if (pointer != nullptr) CheckPointer(pointer, forWrite, site);
}

template <class Ch>
bool IsEmpty(const Ch* text) {
    return text == nullptr || text[0] == 0;
}

// The bodies of the A and W members, by the text unit Ch. Each first checks its pointers with
// the member's call site.

template <class Ch>
int32_t GetRegStringIn(HKEY root, const Ch* subkey, const Ch* valueName, Ch* buffer, const void* site) {
    CheckIfGiven(subkey, 0, site);
    CheckIfGiven(valueName, 0, site);
    CheckIfGiven(buffer, 1, site);
    if (!IsPredefinedRoot(root)) return 0;
    HKEY key = nullptr;
    if (OpenKey(root, subkey, kReadAccess, &key) != ERROR_SUCCESS) return 0;
    // The value is read into a buffer of its own, so that the caller's is written only with a
    // whole, terminated text: the system does not terminate a stored text that lacks its NUL,
    // and leaves the buffer undefined when the value does not fit.
    Ch text[kRegTextLimit + 1];
    DWORD type = REG_NONE;
    DWORD bytes = sizeof(Ch) * kRegTextLimit;
    const LONG read = buffer != nullptr ? QueryValue(key, valueName, &type, text, &bytes)
                                        : QueryValue(key, valueName, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    if (read != ERROR_SUCCESS) return 0;
    if (buffer == nullptr) return 1;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return 0;
    text[bytes / sizeof(Ch)] = 0;
    const int32_t length = text::TextLength(text);
    if (length >= kRegTextLimit) return 0;
    text::CopyText(buffer, text);
    return 1;
}

template <class Ch>
int32_t SetRegStringIn(HKEY root, const Ch* subkey, const Ch* valueName, const Ch* text, const void* site) {
    CheckIfGiven(subkey, 0, site);
    CheckIfGiven(valueName, 0, site);
    CheckPointer(text, 0, site);
    if (!IsPredefinedRoot(root) || IsEmpty(subkey)) return 0;
    HKEY key = nullptr;
    if (CreateKey(root, subkey, &key) != ERROR_SUCCESS) return 0;
    const auto bytes = static_cast<DWORD>((text::TextLength(text) + 1) * sizeof(Ch));
    const LONG written = SetValue(key, valueName, text, bytes);
    RegCloseKey(key);
    return written == ERROR_SUCCESS ? 1 : 0;
}

template <class Ch>
int32_t DeleteRegValueIn(HKEY root, const Ch* subkey, const Ch* valueName, const void* site) {
    CheckIfGiven(subkey, 0, site);
    CheckIfGiven(valueName, 0, site);
    if (!IsPredefinedRoot(root)) return 0;
    HKEY key = nullptr;
    if (OpenKey(root, subkey, kReadWriteAccess, &key) != ERROR_SUCCESS) return 0;
    const LONG deleted = DeleteValue(key, valueName);
    RegCloseKey(key);
    return deleted == ERROR_SUCCESS ? 1 : 0;
}

// Deletes parent\name after its subkeys, each the same way. The subkeys are taken from the
// front one at a time, each name in a heap block; a subkey that cannot go ends the attempt.
template <class Ch>
bool DeleteTree(HKEY parent, const Ch* name) {
    HKEY key = nullptr;
    if (OpenKey(parent, name, kReadWriteAccess, &key) != ERROR_SUCCESS) return false;
    DWORD subkeys = 0;
    DWORD longest = 0;
    bool emptied = CountSubkeys(key, name, &subkeys, &longest) == ERROR_SUCCESS;
    if (emptied && subkeys > 0) {
        // An ANSI name may take two bytes for each of its characters.
        const DWORD room = (longest + 1) * static_cast<DWORD>(sizeof(wchar_t) / sizeof(Ch));
        auto* child = static_cast<Ch*>(AllocRuntimeBlock(room * sizeof(Ch)));
        emptied = child != nullptr;
        while (emptied) {
            DWORD units = room;
            const LONG found = EnumKey(key, 0, child, &units);
            if (found == ERROR_NO_MORE_ITEMS) break;
            emptied = found == ERROR_SUCCESS && DeleteTree(key, child);
        }
        FreeRuntimeBlock(child);
    }
    RegCloseKey(key);
    return emptied && DeleteKey(parent, name) == ERROR_SUCCESS;
}

template <class Ch>
int32_t DeleteRegKeyIn(HKEY root, const Ch* subkey, const void* site) {
    CheckIfGiven(subkey, 0, site);
    if (!IsPredefinedRoot(root) || IsEmpty(subkey)) return 0;
    return DeleteTree(root, subkey) ? 1 : 0;
}

}  // namespace

bool IsPredefinedRoot(HKEY root) {
    const uint32_t value = ToSlot(root);
    return value >= kFirstRoot && value <= kLastRoot;
}

// Every public function below takes its own return address as the call site of its checks.

[[gnu::noinline]] int32_t GetRegString(HKEY root, const void* subkey, const void* valueName, void* buffer) {
    const void* site = __builtin_return_address(0);
    CheckIfGiven(subkey, 0, site);
    CheckIfGiven(valueName, 0, site);
    CheckIfGiven(buffer, 1, site);
    if (wideMode != 0) {
        return GetRegStringW(root, static_cast<const wchar_t*>(subkey), static_cast<const wchar_t*>(valueName),
                             static_cast<wchar_t*>(buffer));
    }
    return GetRegStringA(root, static_cast<const char*>(subkey), static_cast<const char*>(valueName),
                         static_cast<char*>(buffer));
}

[[gnu::noinline]] int32_t GetRegStringA(HKEY root, const char* subkey, const char* valueName, char* buffer) {
    return GetRegStringIn(root, subkey, valueName, buffer, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t GetRegStringW(HKEY root, const wchar_t* subkey, const wchar_t* valueName,
                                        wchar_t* buffer) {
    return GetRegStringIn(root, subkey, valueName, buffer, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t SetRegString(HKEY root, const void* subkey, const void* valueName, const void* text) {
    const void* site = __builtin_return_address(0);
    CheckIfGiven(subkey, 0, site);
    CheckIfGiven(valueName, 0, site);
    CheckPointer(text, 0, site);
    if (wideMode != 0) {
        return SetRegStringW(root, static_cast<const wchar_t*>(subkey), static_cast<const wchar_t*>(valueName),
                             static_cast<const wchar_t*>(text));
    }
    return SetRegStringA(root, static_cast<const char*>(subkey), static_cast<const char*>(valueName),
                         static_cast<const char*>(text));
}

[[gnu::noinline]] int32_t SetRegStringA(HKEY root, const char* subkey, const char* valueName, const char* text) {
    return SetRegStringIn(root, subkey, valueName, text, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t SetRegStringW(HKEY root, const wchar_t* subkey, const wchar_t* valueName,
                                        const wchar_t* text) {
    return SetRegStringIn(root, subkey, valueName, text, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t DeleteRegValue(HKEY root, const void* subkey, const void* valueName) {
    const void* site = __builtin_return_address(0);
    CheckIfGiven(subkey, 0, site);
    CheckIfGiven(valueName, 0, site);
    if (wideMode != 0) {
        return DeleteRegValueW(root, static_cast<const wchar_t*>(subkey), static_cast<const wchar_t*>(valueName));
    }
    return DeleteRegValueA(root, static_cast<const char*>(subkey), static_cast<const char*>(valueName));
}

[[gnu::noinline]] int32_t DeleteRegValueA(HKEY root, const char* subkey, const char* valueName) {
    return DeleteRegValueIn(root, subkey, valueName, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t DeleteRegValueW(HKEY root, const wchar_t* subkey, const wchar_t* valueName) {
    return DeleteRegValueIn(root, subkey, valueName, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t DeleteRegKey(HKEY root, const void* subkey) {
    CheckIfGiven(subkey, 0, __builtin_return_address(0));
    if (wideMode != 0) return DeleteRegKeyW(root, static_cast<const wchar_t*>(subkey));
    return DeleteRegKeyA(root, static_cast<const char*>(subkey));
}

[[gnu::noinline]] int32_t DeleteRegKeyA(HKEY root, const char* subkey) {
    return DeleteRegKeyIn(root, subkey, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t DeleteRegKeyW(HKEY root, const wchar_t* subkey) {
    return DeleteRegKeyIn(root, subkey, __builtin_return_address(0));
}

}  // namespace runtime
