// The runtime heap, FreeRuntimeBlock, the window table over real windows and the screen's
// twips.

#include "runtime/process/runtime_heap.h"
#include "runtime/process/screen.h"
#include "runtime/process/window_table.h"
#include "text_mode_test.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace {

using runtime::RuntimeRecord;

class MODE_SUITE(RuntimeMemory) : public modetest::ModeTest {
protected:
    void SetUp() override {
        ModeTest::SetUp();
        ASSERT_TRUE(runtime::CreateRuntimeHeap());
    }
    void TearDown() override {
        runtime::SetWindowTableGrowth(nullptr);
        runtime::DestroyRuntimeHeap();
    }

    // Blocks in use in the runtime heap.
    static int BusyBlocks() {
        PROCESS_HEAP_ENTRY entry{};
        int busy = 0;
        while (HeapWalk(runtime::runtimeHeap, &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ++busy;
        }
        return busy;
    }

    static RuntimeRecord* NewRecord() {
        return static_cast<RuntimeRecord*>(runtime::AllocRuntimeBlock(sizeof(RuntimeRecord)));
    }
};

// A hidden top-level window, destroyed with the object.
class TestWindow {
public:
    TestWindow()
        : window_(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr)) {}
    ~TestWindow() {
        if (window_ != nullptr) DestroyWindow(window_);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND get() const { return window_; }

private:
    HWND window_;
};

bool AllBytesAre(const void* block, uint32_t from, uint32_t to, unsigned char value) {
    const auto* bytes = static_cast<const unsigned char*>(block);
    for (uint32_t i = from; i < to; ++i) {
        if (bytes[i] != value) return false;
    }
    return true;
}

TEST_F(MODE_SUITE(RuntimeMemory), BlocksComeZeroFilledAndGrowZeroFilled) {
    void* block = runtime::AllocRuntimeBlock(288);
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(AllBytesAre(block, 0, 288, 0));
    FillMemory(block, 288, 0xAB);
    runtime::FreeRuntimeBlock(block);

    block = runtime::AllocRuntimeBlock(288);
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(AllBytesAre(block, 0, 288, 0)) << "a reused block is zero-filled again";
    FillMemory(block, 288, 0xAB);
    void* grown = runtime::ReallocRuntimeBlock(block, 8192);
    ASSERT_NE(grown, nullptr);
    EXPECT_TRUE(AllBytesAre(grown, 0, 288, 0xAB)) << "the contents are kept";
    EXPECT_TRUE(AllBytesAre(grown, 288, 8192, 0)) << "the gained bytes are zero";
}

TEST_F(MODE_SUITE(RuntimeMemory), FreeRuntimeBlockIgnoresValuesBelow0x8000) {
    void* first = runtime::AllocRuntimeBlock(16);
    void* second = runtime::AllocRuntimeBlock(100);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    const int busy = BusyBlocks();
    ASSERT_GE(busy, 2) << "the heap can be walked";

    // Handed to the heap, such a value would be refused there, which leaves its mark in the
    // thread's last error: the mark shows whether the value reached the heap at all.
    constexpr DWORD kUntouched = 0x4D54;
    const uintptr_t ignored[] = {0, 100, 0x7FFF};
    for (uintptr_t value : ignored) {
        SetLastError(kUntouched);
        runtime::FreeRuntimeBlock(reinterpret_cast<const void*>(value));
        EXPECT_EQ(GetLastError(), kUntouched) << "FreeRuntimeBlock(" << value << ") went to the heap";
        EXPECT_EQ(BusyBlocks(), busy) << "FreeRuntimeBlock(" << value << ")";
    }
    EXPECT_TRUE(HeapValidate(runtime::runtimeHeap, 0, nullptr));
    runtime::FreeRuntimeBlock(first);
    EXPECT_EQ(BusyBlocks(), busy - 1) << "a real block is released";
}

TEST_F(MODE_SUITE(RuntimeMemory), WithoutTheHeapNothingIsAllocatedOrFreed) {
    void* block = runtime::AllocRuntimeBlock(16);
    ASSERT_NE(block, nullptr);
    runtime::DestroyRuntimeHeap();
    EXPECT_EQ(runtime::runtimeHeap, nullptr);
    EXPECT_EQ(runtime::AllocRuntimeBlock(16), nullptr);
    EXPECT_EQ(runtime::ReallocRuntimeBlock(nullptr, 16), nullptr);
    runtime::FreeRuntimeBlock(block);  // the heap that held it is gone: nothing to do
}

TEST_F(MODE_SUITE(RuntimeMemory), FindWindowRecordKnowsOnlyRuntimeWindows) {
    ASSERT_TRUE(runtime::CreateWindowTable());
    TestWindow form, button, foreign;
    ASSERT_NE(form.get(), nullptr);
    ASSERT_NE(button.get(), nullptr);
    RuntimeRecord* formRecord = NewRecord();
    RuntimeRecord* buttonRecord = NewRecord();
    ASSERT_TRUE(runtime::EnterWindowRecord(form.get(), formRecord));
    ASSERT_TRUE(runtime::EnterWindowRecord(button.get(), buttonRecord));

    EXPECT_EQ(runtime::FindWindowRecord(form.get()), formRecord);
    EXPECT_EQ(runtime::FindWindowRecord(button.get()), buttonRecord);
    EXPECT_EQ(runtime::FindWindowRecord(foreign.get()), nullptr);
    EXPECT_EQ(runtime::FindWindowRecord(nullptr), nullptr);

    EXPECT_TRUE(runtime::RemoveWindowRecord(form.get()));
    EXPECT_EQ(runtime::FindWindowRecord(form.get()), nullptr);
    EXPECT_EQ(runtime::FindWindowRecord(button.get()), buttonRecord);
    EXPECT_FALSE(runtime::RemoveWindowRecord(foreign.get()));
}

// Window handles told apart by value only; the table never uses them as windows.
HWND FakeWindow(int n) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(0x40000 + 4 * n)); }

runtime::WindowPair* RefuseGrowth(runtime::WindowPair*, uint32_t) { return nullptr; }

TEST_F(MODE_SUITE(RuntimeMemory), TheTableGrowsInTheHeapAndSurvivesAnExhaustedHeap) {
    ASSERT_TRUE(runtime::CreateWindowTable());
    std::vector<RuntimeRecord*> records;
    // The first block takes its pairs up to two short of its size without growing.
    const int fits = static_cast<int>(runtime::kInitialWindowPairs) - 2;
    for (int n = 0; n < fits; ++n) {
        records.push_back(NewRecord());
        ASSERT_TRUE(runtime::EnterWindowRecord(FakeWindow(n), records.back())) << "pair " << n;
    }

    runtime::SetWindowTableGrowth(RefuseGrowth);
    RuntimeRecord* refused = NewRecord();
    EXPECT_FALSE(runtime::EnterWindowRecord(FakeWindow(fits), refused));
    EXPECT_EQ(runtime::FindWindowRecord(FakeWindow(fits)), nullptr) << "then it is not a runtime window";
    for (int n = 0; n < fits; ++n) {
        ASSERT_EQ(runtime::FindWindowRecord(FakeWindow(n)), records[n]) << "pair " << n << " after the failure";
    }

    EXPECT_EQ(runtime::SetWindowTableGrowth(nullptr), &RefuseGrowth);
    for (int n = fits; n < 3 * fits; ++n) {
        records.push_back(NewRecord());
        ASSERT_TRUE(runtime::EnterWindowRecord(FakeWindow(n), records.back())) << "pair " << n;
    }
    EXPECT_EQ(runtime::windowTable.capacity, 4 * runtime::kInitialWindowPairs);
    for (int n = 0; n < 3 * fits; ++n) {
        ASSERT_EQ(runtime::FindWindowRecord(FakeWindow(n)), records[n]) << "pair " << n << " after growing";
    }
    EXPECT_TRUE(HeapValidate(runtime::runtimeHeap, 0, nullptr));
}

TEST_F(MODE_SUITE(RuntimeMemory), TheTableGoesWithTheHeap) {
    ASSERT_TRUE(runtime::CreateWindowTable());
    ASSERT_TRUE(runtime::EnterWindowRecord(FakeWindow(1), NewRecord()));
    runtime::DestroyRuntimeHeap();
    EXPECT_EQ(runtime::FindWindowRecord(FakeWindow(1)), nullptr);
    EXPECT_FALSE(runtime::EnterWindowRecord(FakeWindow(2), nullptr)) << "no heap, no table";
}

TEST_F(MODE_SUITE(RuntimeMemory), TwipsAt96DotsPerInch) {
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpiX, 96) << "the test display runs at 96 dots per inch";
    ASSERT_EQ(dpiY, 96);

    runtime::MeasureScreen();
    EXPECT_EQ(runtime::twipsPerPixelX, 15);
    EXPECT_EQ(runtime::twipsPerPixelY, 15);
    EXPECT_EQ(runtime::pointDivisor, 72);
    EXPECT_EQ(runtime::TwipsToPixelsX(1440, 1), 96);
    EXPECT_EQ(runtime::TwipsToPixelsY(1440, 1), 96);
    EXPECT_EQ(runtime::TwipsToPixelsX(1440, 0), 1440);
    EXPECT_EQ(runtime::PixelsToTwipsX(96, 1), 1440);
    EXPECT_EQ(runtime::PixelsToTwipsY(96, 0), 96);
}

}  // namespace
