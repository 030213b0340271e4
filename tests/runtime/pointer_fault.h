#pragma once
// Watching a bad pointer fault inside the runtime's pointer check. The bad pointer is a page
// whose protection the test chooses. A vectored handler records the first fault on it and then
// makes the page readable and writable, so the faulting instruction runs again and the call
// completes: the test sees the fault without the process ending.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <span>

#include "runtime/text/pointer_check.h"

namespace pointerfault {

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

inline FaultSeen seen;
inline uintptr_t guardedPage = 0;

// A recovery that did not work would fault again at once; after a few the handler lets the
// fault through, so a broken test ends the program instead of spinning.
constexpr int kMostRecoveries = 3;

inline LONG CALLBACK RecordAndCure(EXCEPTION_POINTERS* info) noexcept {
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
inline const void* volatile lastMark = nullptr;
[[gnu::noinline]] inline const void* MarkHere() {
    lastMark = __builtin_return_address(0);
    return lastMark;
}

// The code between two marks in a calling function.
struct Marks {
    const void* before = nullptr;
    const void* after = nullptr;
};

inline bool Between(const void* site, const Marks& marks) {
    const auto at = reinterpret_cast<uintptr_t>(site);
    return at > reinterpret_cast<uintptr_t>(marks.before) && at < reinterpret_cast<uintptr_t>(marks.after);
}

// The faulting instruction lies in CheckPointer's own short body.
inline bool InsideTheCheck(const void* where) {
    const auto start = reinterpret_cast<uintptr_t>(&runtime::CheckPointer);
    const auto at = reinterpret_cast<uintptr_t>(where);
    return at >= start && at < start + 128;
}

// One public entry called on the page, between two marks in the calling code.
struct CheckCase {
    const char* entry;
    DWORD protection;
    void (*call)(void* page, Marks& marks);
    int faults;
    ULONG_PTR access;  // of the fault, when there is one
};

// Runs each case on a page of its own: the faults seen are the ones expected, and a fault lies
// in the check, on the first byte, with the call site between the caller's marks.
inline void ExpectFaultsInTheCheck(std::span<const CheckCase> cases) {
    for (const auto& c : cases) {
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

}  // namespace pointerfault
