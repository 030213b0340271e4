// The text and number utilities through their checking entries in the program's text mode, and
// a bad pointer handed to any utility function: it faults inside the pointer check, with the
// caller's call site on record. (The null pointers that functions allow are passed in their own
// tests.)

#include "runtime/util/registry_strings.h"
#include "runtime/util/string_lists.h"
#include "runtime/util/system_info.h"
#include "runtime/util/text_files.h"
#include "runtime/util/text_utilities.h"
#include "tests/runtime/pointer_fault.h"
#include "util_cases.h"
#include "util_session.h"

#include <windows.h>

namespace {

using namespace utiltest;
using pointerfault::CheckCase;
using pointerfault::MarkHere;
using pointerfault::Marks;

class MODE_SUITE(TextUtilities) : public UtilTest {};

TEST_F(MODE_SUITE(TextUtilities), EntriesParseAndCutInTheMode) {
    for (const auto& c : utilcases::kParses) {
        EXPECT_EQ(runtime::ParseNumber(T(c.text).c_str()), c.value) << "\"" << c.text << "\"";
    }
    for (const auto& c : utilcases::kCuts) {
        Text text = T(c.text);
        const int32_t result = c.op == utilcases::Left    ? runtime::TextLeft(text.data(), c.count)
                               : c.op == utilcases::Right ? runtime::TextRight(text.data(), c.count)
                                                          : runtime::TextMid(text.data(), c.start, c.count);
        EXPECT_EQ(result, c.result) << "op " << c.op << " \"" << c.text << "\" " << c.start << ", " << c.count;
        EXPECT_EQ(Ascii(text.c_str()), c.after) << "op " << c.op << " \"" << c.text << "\" " << c.start << ", " << c.count;
    }
    EXPECT_EQ(runtime::TextLen(T("Project1").c_str()), 8);
    char ansi[] = "abcdef";
    EXPECT_EQ(runtime::TextMidA(ansi, 1, 2), 1);
    EXPECT_STREQ(ansi, "bc");
    EXPECT_EQ(runtime::ParseNumberW(L"0x1F"), 31) << "the members serve their own texts whatever the mode";
}

const Unit kName[] = {'n', 0};
HWND list = nullptr;

const CheckCase kCases[] = {
    {"TextMid, read-only text", PAGE_READONLY,
     [](void* p, Marks& m) { m.before = MarkHere(); runtime::TextMid(p, 0, 1); m.after = MarkHere(); }, 1, 1},
    {"ParseNumber, unreadable text", PAGE_NOACCESS,
     [](void* p, Marks& m) { m.before = MarkHere(); runtime::ParseNumber(p); m.after = MarkHere(); }, 1, 0},
    {"ListAdd, unreadable text", PAGE_NOACCESS,
     [](void* p, Marks& m) { m.before = MarkHere(); runtime::ListAdd(list, p); m.after = MarkHere(); }, 1, 0},
    {"ListGetItem, read-only buffer", PAGE_READONLY,
     [](void* p, Marks& m) { m.before = MarkHere(); runtime::ListGetItem(list, 0, p); m.after = MarkHere(); }, 1, 1},
    {"GetRegString, read-only buffer", PAGE_READONLY,
     [](void* p, Marks& m) {
         m.before = MarkHere(); runtime::GetRegString(HKEY_CURRENT_USER, kName, kName, p); m.after = MarkHere();
     }, 1, 1},
    {"ReadLine, read-only buffer", PAGE_READONLY,
     [](void* p, Marks& m) { m.before = MarkHere(); runtime::ReadLine(INVALID_HANDLE_VALUE, p); m.after = MarkHere(); }, 1, 1},
    {"WriteLine, unreadable text", PAGE_NOACCESS,
     [](void* p, Marks& m) { m.before = MarkHere(); runtime::WriteLine(INVALID_HANDLE_VALUE, p); m.after = MarkHere(); }, 1, 0},
    {"GetCpuInfo, read-only record", PAGE_READONLY,
     [](void* p, Marks& m) {
         m.before = MarkHere(); runtime::GetCpuInfo(static_cast<runtime::util::CpuInfoRecord*>(p)); m.after = MarkHere();
     }, 1, 1},
    {"ParseNumber, read-only text is readable", PAGE_READONLY,
     [](void* p, Marks& m) { m.before = MarkHere(); runtime::ParseNumber(p); m.after = MarkHere(); }, 0, 0},
};

TEST_F(MODE_SUITE(TextUtilities), ABadPointerFaultsInsideTheCheckWithTheCallerOnRecord) {
    list = runtime::SlotAs<HWND>(static_cast<uint32_t>(runtime::CreateList(0)));
    ASSERT_NE(list, nullptr);
    runtime::ListAdd(list, kName);
    pointerfault::ExpectFaultsInTheCheck(kCases);
}

}  // namespace
