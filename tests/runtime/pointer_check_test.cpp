// A bad pointer handed to a public text entry faults inside the pointer check, with the call
// site of the entry (an address in the calling code) on record for the crash report
// (pointer_fault.h watches the fault).

#include "runtime/text/number_text.h"
#include "runtime/text/pointer_check.h"
#include "runtime/text/text_convert.h"
#include "runtime/text/text_search.h"
#include "pointer_fault.h"
#include "text_mode_test.h"

#include <windows.h>

#include <cstdint>

namespace {

using modetest::Unit;
using pointerfault::CheckCase;
using pointerfault::GuardedPage;
using pointerfault::MarkHere;
using pointerfault::Marks;
using pointerfault::Between;
using pointerfault::InsideTheCheck;
using pointerfault::seen;

const Unit kValidText[] = {'a', 'b', 0};

const CheckCase kCases[] = {
    {"FindChar, unreadable text", PAGE_NOACCESS,
     [](void* p, Marks& m) { m.before = MarkHere(); runtime::FindChar(p, '.'); m.after = MarkHere(); }, 1, 0},
    {"FindLastChar, unreadable text", PAGE_NOACCESS,
     [](void* p, Marks& m) { m.before = MarkHere(); runtime::FindLastChar(p, '.'); m.after = MarkHere(); }, 1, 0},
    {"TextLength, unreadable text", PAGE_NOACCESS,
     [](void* p, Marks& m) { m.before = MarkHere(); runtime::TextLength(p); m.after = MarkHere(); }, 1, 0},
    {"MatchMnemonic, unreadable text", PAGE_NOACCESS,
     [](void* p, Marks& m) { m.before = MarkHere(); runtime::MatchMnemonic(p, 's'); m.after = MarkHere(); }, 1, 0},
    {"Trim, read-only text", PAGE_READONLY,
     [](void* p, Marks& m) { m.before = MarkHere(); runtime::Trim(p); m.after = MarkHere(); }, 1, 1},
    {"TrimLeft, read-only text", PAGE_READONLY,
     [](void* p, Marks& m) { m.before = MarkHere(); runtime::TrimLeft(p); m.after = MarkHere(); }, 1, 1},
    {"FormatNumber, read-only buffer", PAGE_READONLY,
     [](void* p, Marks& m) { m.before = MarkHere(); runtime::FormatNumber(5, p, 1); m.after = MarkHere(); }, 1, 1},
    {"CopyText, read-only destination", PAGE_READONLY,
     [](void* p, Marks& m) { m.before = MarkHere(); runtime::CopyText(p, kValidText); m.after = MarkHere(); }, 1, 1},
    {"CopyText, unreadable source", PAGE_NOACCESS,
     [](void* p, Marks& m) {
         Unit destination[4];
         m.before = MarkHere(); runtime::CopyText(destination, p); m.after = MarkHere();
     }, 1, 0},
    {"StripMnemonic, read-only destination", PAGE_READONLY,
     [](void* p, Marks& m) { m.before = MarkHere(); runtime::StripMnemonic(kValidText, p, 0); m.after = MarkHere(); }, 1, 1},
    {"CopyAnsiText, read-only destination", PAGE_READONLY,
     [](void* p, Marks& m) { m.before = MarkHere(); runtime::CopyAnsiText("ab", p); m.after = MarkHere(); }, 1, 1},
    {"FindChar, read-only text is readable", PAGE_READONLY,
     [](void* p, Marks& m) { m.before = MarkHere(); runtime::FindChar(p, '.'); m.after = MarkHere(); }, 0, 0},
    {"TextLength, read-only text is readable", PAGE_READONLY,
     [](void* p, Marks& m) { m.before = MarkHere(); runtime::TextLength(p); m.after = MarkHere(); }, 0, 0},
};

class MODE_SUITE(PointerCheck) : public modetest::ModeTest {};

TEST_F(MODE_SUITE(PointerCheck), ABadPointerFaultsInsideTheCheckWithTheCallerOnRecord) {
    pointerfault::ExpectFaultsInTheCheck(kCases);
}

TEST_F(MODE_SUITE(PointerCheck), NullIsAllowedWhereTheEntryTakesIt) {
    GuardedPage guard(PAGE_NOACCESS);
    ASSERT_TRUE(guard.ready());
    EXPECT_EQ(runtime::TextLength(nullptr), 0);
    EXPECT_EQ(runtime::CopyAnsiText(nullptr, guard.page()), nullptr);
    EXPECT_EQ(seen.count, 0) << "a null source leaves even a bad destination untouched";
}

// reportPending set for one call, and back to 1 (as at load) whatever the test does.
class ReportPendingAs {
public:
    explicit ReportPendingAs(int32_t value) { runtime::reportPending = value; }
    ~ReportPendingAs() { runtime::reportPending = 1; }
    ReportPendingAs(const ReportPendingAs&) = delete;
    ReportPendingAs& operator=(const ReportPendingAs&) = delete;
};

TEST_F(MODE_SUITE(PointerCheck), AnsiFindCharAndFormatNumberCheckOnlyUntilTheReport) {
    const struct {
        const char* member;
        DWORD protection;
        void (*call)(void* page, Marks& marks);
    } members[] = {
        {"FindCharA", PAGE_NOACCESS,
         [](void* p, Marks& m) {
             m.before = MarkHere(); runtime::FindCharA(static_cast<char*>(p), '.'); m.after = MarkHere();
         }},
        {"FormatNumberA", PAGE_READONLY,
         [](void* p, Marks& m) {
             m.before = MarkHere(); runtime::FormatNumberA(5, static_cast<char*>(p), 1); m.after = MarkHere();
         }},
    };
    // While a report is pending the member checks, so the fault lies in the check with the call
    // site on record; once the report has cleared the flag, the access itself faults.
    for (const auto& c : members) {
        for (const int32_t pending : {1, 0}) {
            ReportPendingAs report(pending);
            GuardedPage guard(c.protection);
            ASSERT_TRUE(guard.ready());
            Marks marks;
            c.call(guard.page(), marks);
            const bool checked = pending != 0;
            ASSERT_EQ(seen.count, 1) << c.member << ", reportPending " << pending;
            EXPECT_EQ(InsideTheCheck(seen.where), checked) << c.member << ", reportPending " << pending
                                                           << ": fault at " << seen.where;
            EXPECT_EQ(Between(seen.site, marks), checked) << c.member << ", reportPending " << pending
                                                          << ": call site " << seen.site;
        }
    }
}

}  // namespace
