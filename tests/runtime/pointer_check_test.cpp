// A bad pointer handed to a public text entry faults inside the pointer check, with the call
// site of the entry (an address in the calling code) on record for the crash report.
//
// The bad pointer is a page whose protection the test chooses. A vectored handler records the
// first fault on it and then makes the page readable and writable, so the faulting instruction
// runs again and the call completes: the test sees the fault without the process ending.

#include "runtime/text/number_text.h"
#include "runtime/text/pointer_check.h"
#include "runtime/text/text_convert.h"
#include "runtime/text/text_search.h"
#include "text_mode_test.h"

#include <windows.h>

#include <cstdint>

namespace {

using modetest::Unit;

constexpr SIZE_T kPageSize = 4096;

// What the handler saw of the faults on the guarded page.
struct FaultSeen {
    int count = 0;
    DWORD code = 0;
    ULONG_PTR access = 99;  // 0 read, 1 write
    ULONG_PTR target = 0;   // the address that could not be accessed
    const void* where = nullptr;  // the faulting instruction
    const void* site = nullptr;   // pendingCheckSite at the fault
};

FaultSeen seen;
uintptr_t guardedPage = 0;

// A recovery that did not work would fault again at once; after a few the handler lets the
// fault through, so a broken test ends the program instead of spinning.
constexpr int kMostRecoveries = 3;

LONG CALLBACK RecordAndCure(EXCEPTION_POINTERS* info) noexcept {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (record->ExceptionCode != EXCEPTION_ACCESS_VIOLATION || record->NumberParameters < 2) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    const ULONG_PTR target = record->ExceptionInformation[1];
    if (guardedPage == 0 || target < guardedPage || target >= guardedPage + kPageSize) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    if (++seen.count > kMostRecoveries) return EXCEPTION_CONTINUE_SEARCH;
    seen.code = record->ExceptionCode;
    seen.access = record->ExceptionInformation[0];
    seen.target = target;
    seen.where = record->ExceptionAddress;
    seen.site = runtime::pendingCheckSite;
    DWORD old = 0;
    VirtualProtect(reinterpret_cast<void*>(guardedPage), kPageSize, PAGE_READWRITE, &old);
    return EXCEPTION_CONTINUE_EXECUTION;
}

// A committed page with the given protection and the handler that watches it, for one call.
class GuardedPage {
public:
    explicit GuardedPage(DWORD protection) {
        page_ = VirtualAlloc(nullptr, kPageSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        DWORD old = 0;
        if (page_ != nullptr) VirtualProtect(page_, kPageSize, protection, &old);
        guardedPage = reinterpret_cast<uintptr_t>(page_);
        seen = FaultSeen{};
        handler_ = AddVectoredExceptionHandler(1, RecordAndCure);
    }
    ~GuardedPage() {
        if (handler_ != nullptr) RemoveVectoredExceptionHandler(handler_);
        guardedPage = 0;
        if (page_ != nullptr) VirtualFree(page_, 0, MEM_RELEASE);
    }
    GuardedPage(const GuardedPage&) = delete;
    GuardedPage& operator=(const GuardedPage&) = delete;

    bool ready() const { return page_ != nullptr && handler_ != nullptr; }
    void* page() const { return page_; }

private:
    void* page_ = nullptr;
    void* handler_ = nullptr;
};

// The return address of a call, as a marker of a place in the calling code.
const void* volatile lastMark = nullptr;
[[gnu::noinline]] const void* MarkHere() {
    lastMark = __builtin_return_address(0);
    return lastMark;
}

// The code between two marks in a calling function.
struct Marks {
    const void* before = nullptr;
    const void* after = nullptr;
};

bool Between(const void* site, const Marks& marks) {
    const auto at = reinterpret_cast<uintptr_t>(site);
    return at > reinterpret_cast<uintptr_t>(marks.before) && at < reinterpret_cast<uintptr_t>(marks.after);
}

// The faulting instruction lies in CheckPointer's own short body.
bool InsideTheCheck(const void* where) {
    const auto start = reinterpret_cast<uintptr_t>(&runtime::CheckPointer);
    const auto at = reinterpret_cast<uintptr_t>(where);
    return at >= start && at < start + 128;
}

const Unit kValidText[] = {'a', 'b', 0};

// One public entry called on the page, between two marks in the calling code.
struct CheckCase {
    const char* entry;
    DWORD protection;
    void (*call)(void* page, Marks& marks);
    int faults;
    ULONG_PTR access;  // of the fault, when there is one
};

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
    for (const auto& c : kCases) {
        GuardedPage guard(c.protection);
        ASSERT_TRUE(guard.ready()) << c.entry << ": no page or no handler";
        Marks marks;
        c.call(guard.page(), marks);

        EXPECT_EQ(seen.count, c.faults) << c.entry;
        EXPECT_EQ(runtime::pendingCheckSite, nullptr) << c.entry << ": the record is cleared after the check";
        if (seen.count != 1 || c.faults != 1) continue;
        EXPECT_EQ(seen.code, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION)) << c.entry;
        EXPECT_EQ(seen.access, c.access) << c.entry << " (0 read, 1 write)";
        EXPECT_EQ(seen.target, guardedPage) << c.entry << ": only the first byte is touched";
        EXPECT_TRUE(InsideTheCheck(seen.where)) << c.entry << ": fault at " << seen.where
                                                << ", CheckPointer at " << reinterpret_cast<const void*>(&runtime::CheckPointer);
        EXPECT_TRUE(Between(seen.site, marks)) << c.entry << ": call site " << seen.site << " not between "
                                               << marks.before << " and " << marks.after;
    }
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
