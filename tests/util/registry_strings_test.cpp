// Registry strings in the real registry, under a test key of this program's own in
// HKEY_CURRENT_USER that each test starts without and leaves behind removed.

#include "runtime/util/registry_strings.h"
#include "util_session.h"

#include <windows.h>

#include <string>

namespace {

using namespace utiltest;

#ifdef MT_TEST_WIDE_MODE
constexpr const char* kTestKey = "Software\\MiniTarvoUtilTestWide";
#else
constexpr const char* kTestKey = "Software\\MiniTarvoUtilTestAnsi";
#endif

std::string Under(const std::string& path) { return std::string(kTestKey) + "\\" + path; }

// What the system itself reads of a value: its type and, for texts, the text.
struct Stored {
    bool exists = false;
    DWORD type = REG_NONE;
    std::string text;
};

Stored ReadStored(const std::string& path, const char* name) {
    Stored stored;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return stored;
    char data[1024] = {};
    DWORD bytes = sizeof(data) - 1;
    stored.exists = RegQueryValueExA(key, name, nullptr, &stored.type, reinterpret_cast<BYTE*>(data), &bytes) == ERROR_SUCCESS;
    if (stored.exists && stored.type == REG_SZ) stored.text = data;
    RegCloseKey(key);
    return stored;
}

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// A value written by the system with the given type and bytes.
void StoreRaw(const std::string& path, const char* name, DWORD type, const void* data, DWORD bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
    RegCloseKey(key);
}

class MODE_SUITE(RegistryStrings) : public UtilTest {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
        ASSERT_FALSE(KeyExists(HKEY_CURRENT_USER, kTestKey));
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }
};

// A buffer of the room GetRegString fills and more, marked '#' throughout.
Text MarkedBuffer() { return Text(runtime::kRegTextLimit + 8, static_cast<Unit>('#')); }
const std::string kUntouched(runtime::kRegTextLimit + 8, '#');

std::string Read(const Text& buffer) { return Ascii(Text(buffer).append(1, 0).c_str()); }

TEST_F(MODE_SUITE(RegistryStrings), ValuesAreWrittenReadTestedAndDeleted) {
    const std::string longest(runtime::kRegTextLimit - 1, 'z');
    const struct {
        const char* path;
        const char* name;  // null: the key's default value
        std::string text;
    } cases[] = {
        {"Values", "Port", "COM1"},
        {"Values", nullptr, "the default"},
        {"Values", "Empty", ""},
        {"New\\Deeper", "Longest", longest},
    };
    for (const auto& c : cases) {
        const std::string what = std::string(c.path) + " / " + (c.name != nullptr ? c.name : "(default)");
        const Text path = T(Under(c.path).c_str());
        const Text name = c.name != nullptr ? T(c.name) : Text();
        const Unit* namePointer = c.name != nullptr ? name.c_str() : nullptr;

        EXPECT_EQ(runtime::SetRegString(HKEY_CURRENT_USER, path.c_str(), namePointer, T(c.text.c_str()).c_str()), 1) << what;
        const Stored stored = ReadStored(Under(c.path), c.name);
        EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ)) << what;
        EXPECT_EQ(stored.text, c.text) << what << ": as the system reads it";

        Text buffer = MarkedBuffer();
        EXPECT_EQ(runtime::GetRegString(HKEY_CURRENT_USER, path.c_str(), namePointer, buffer.data()), 1) << what;
        EXPECT_EQ(Ascii(buffer.c_str()), c.text) << what;
        EXPECT_EQ(buffer[c.text.size() + 1], static_cast<Unit>('#')) << what << ": written behind the terminator";
        EXPECT_EQ(runtime::GetRegString(HKEY_CURRENT_USER, path.c_str(), namePointer, nullptr), 1) << what << " exists";

        EXPECT_EQ(runtime::DeleteRegValue(HKEY_CURRENT_USER, path.c_str(), namePointer), 1) << what;
        EXPECT_FALSE(ReadStored(Under(c.path), c.name).exists) << what << " after the deletion";
        EXPECT_EQ(runtime::GetRegString(HKEY_CURRENT_USER, path.c_str(), namePointer, nullptr), 0) << what << " is gone";
        EXPECT_EQ(runtime::DeleteRegValue(HKEY_CURRENT_USER, path.c_str(), namePointer), 0) << what << " twice";
    }
}

TEST_F(MODE_SUITE(RegistryStrings), OnlyPredefinedRootsAndNamedSubkeysAreUsed) {
    StoreRaw(kTestKey, "Seen", REG_SZ, "yes", 4);
    StoreRaw(Under("Keep"), "Seen", REG_SZ, "yes", 4);
    // A real key handle as the root: had the functions used it, they would have found the value,
    // made the subkey, deleted the value or the key.
    HKEY testKey = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_ALL_ACCESS, &testKey), ERROR_SUCCESS);
    const HKEY roots[] = {testKey, reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x7FFFFFFFu)),
                          reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000007u)), nullptr};
    for (HKEY root : roots) {
        Text buffer = MarkedBuffer();
        EXPECT_EQ(runtime::GetRegString(root, nullptr, T("Seen").c_str(), buffer.data()), 0) << "root " << root;
        EXPECT_EQ(Read(buffer), kUntouched) << "root " << root;
        EXPECT_EQ(runtime::GetRegString(root, nullptr, T("Seen").c_str(), nullptr), 0) << "root " << root;
        EXPECT_EQ(runtime::SetRegString(root, T("Made").c_str(), T("Seen").c_str(), T("x").c_str()), 0) << "root " << root;
        EXPECT_EQ(runtime::DeleteRegValue(root, nullptr, T("Seen").c_str()), 0) << "root " << root;
        EXPECT_EQ(runtime::DeleteRegKey(root, T("Keep").c_str()), 0) << "root " << root;
    }
    RegCloseKey(testKey);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Under("Made"))) << "no key was made";
    EXPECT_TRUE(ReadStored(kTestKey, "Seen").exists) << "no value was deleted";
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Under("Keep"))) << "no key was deleted";

    // An empty or missing subkey would name the root itself.
    const Text empty = T("");
    for (const Unit* subkey : {empty.c_str(), static_cast<const Unit*>(nullptr)}) {
        const char* what = subkey == nullptr ? "null subkey" : "empty subkey";
        EXPECT_EQ(runtime::SetRegString(HKEY_CURRENT_USER, subkey, T("MiniTarvoUtilTestRoot").c_str(), T("x").c_str()), 0) << what;
        EXPECT_EQ(runtime::DeleteRegKey(HKEY_CURRENT_USER, subkey), 0) << what;
    }
    EXPECT_FALSE(ReadStored("", "MiniTarvoUtilTestRoot").exists) << "nothing was written at the root";
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software")) << "the root's tree stands";
}

TEST_F(MODE_SUITE(RegistryStrings), AReadGivesAWholeTerminatedTextOrNothing) {
    const std::string tooLong(runtime::kRegTextLimit, 'L');
    const DWORD number = 0x41414141;
    StoreRaw(kTestKey, "TooLong", REG_SZ, tooLong.c_str(), static_cast<DWORD>(tooLong.size() + 1));
    StoreRaw(kTestKey, "Number", REG_DWORD, &number, sizeof(number));
    StoreRaw(kTestKey, "Unended", REG_SZ, "abc", 3);
    StoreRaw(kTestKey, "Expand", REG_EXPAND_SZ, "%TEMP%\\x", 9);
    const struct {
        const char* name;
        int32_t result;
        std::string text;  // what the buffer reads afterwards
        int32_t exists;    // with a null buffer
    } cases[] = {
        {"TooLong", 0, kUntouched, 1},
        {"Number", 0, kUntouched, 1},
        {"Unended", 1, "abc", 1},
        {"Expand", 1, "%TEMP%\\x", 1},
        {"Missing", 0, kUntouched, 0},
    };
    const Text path = T(kTestKey);
    for (const auto& c : cases) {
        Text buffer = MarkedBuffer();
        EXPECT_EQ(runtime::GetRegString(HKEY_CURRENT_USER, path.c_str(), T(c.name).c_str(), buffer.data()), c.result) << c.name;
        EXPECT_EQ(c.result != 0 ? Ascii(buffer.c_str()) : Read(buffer), c.text) << c.name;
        EXPECT_EQ(runtime::GetRegString(HKEY_CURRENT_USER, path.c_str(), T(c.name).c_str(), nullptr), c.exists) << c.name;
    }
}

TEST_F(MODE_SUITE(RegistryStrings), AKeyTreeIsDeletedDeepestFirst) {
    const std::string longName(200, 'n');
    for (const std::string& path : {std::string("Tree\\B\\C"), std::string("Tree\\B\\D"), "Tree\\" + longName + "\\F",
                                    std::string("Tree\\E"), std::string("Keep")}) {
        EXPECT_EQ(runtime::SetRegString(HKEY_CURRENT_USER, T(Under(path).c_str()).c_str(), T("v").c_str(), T("x").c_str()), 1)
            << path;
    }
    ASSERT_TRUE(KeyExists(HKEY_CURRENT_USER, Under("Tree\\B\\C")));
    EXPECT_EQ(runtime::DeleteRegKey(HKEY_CURRENT_USER, T(Under("Tree").c_str()).c_str()), 1);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Under("Tree"))) << "the tree is gone";
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Under("Keep"))) << "its sibling stays";
    EXPECT_EQ(runtime::DeleteRegKey(HKEY_CURRENT_USER, T(Under("Tree").c_str()).c_str()), 0) << "a missing key";

    // The members serve their own texts whatever the mode.
    const std::string keep = Under("Keep");
    wchar_t wide[runtime::kRegTextLimit];
    EXPECT_EQ(runtime::SetRegStringA(HKEY_CURRENT_USER, keep.c_str(), "a", "ansi"), 1);
    EXPECT_EQ(runtime::GetRegStringW(HKEY_CURRENT_USER, std::wstring(keep.begin(), keep.end()).c_str(), L"a", wide), 1);
    EXPECT_STREQ(wide, L"ansi");
}

}  // namespace
