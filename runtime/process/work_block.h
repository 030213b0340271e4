#pragma once
// The runtime's two fixed memory blocks, as typed layouts. Platform-free (the tests check the
// layouts on the host too).
//  - The work block: one committed read-write page with the runtime's text scratch areas, the
//    string-list table, the service-pack text, the application's scratch text and the form list.
//  - The text block: the four texts that start-up fills and then makes read-only.
// Text areas hold ANSI or wide text by the runtime's text mode, so they are byte arrays here.

#include <cstddef>
#include <cstdint>

namespace runtime {

// Hidden list boxes that serve as string lists: a one-byte count and the handles, ended by the
// first 0. The last entry stays 0, so a walk up to the first 0 ends inside the table even when
// all 64 lists are in use.
#pragma pack(push, 1)
struct StringListTable {
    uint8_t count;
    uint32_t handles[65];
    uint8_t reserved[3];
};
#pragma pack(pop)
constexpr int32_t kMostStringLists = 64;

// Zero-terminated addresses of the form templates the runtime knows.
constexpr int32_t kFormListEntries = 122;

struct WorkBlock {
    uint8_t textScratch1[2048];  // template texts being converted, composed messages
    StringListTable stringLists;
    uint8_t servicePack[264];    // the OS version's service-pack text, in the text mode
    uint8_t scratchText[512];    // the application's ScratchText
    uint8_t textScratch2[520];   // class names and other short conversions
    uint32_t formList[kFormListEntries];
};

constexpr std::size_t kWorkBlockSize = 4096;
static_assert(sizeof(StringListTable) == 264);
static_assert(sizeof(WorkBlock) == kWorkBlockSize);
static_assert(offsetof(WorkBlock, textScratch1) == 0);
static_assert(offsetof(WorkBlock, stringLists) == 2048);
static_assert(offsetof(WorkBlock, servicePack) == 2312);
static_assert(offsetof(WorkBlock, scratchText) == 2576);
static_assert(offsetof(WorkBlock, textScratch2) == 3088);
static_assert(offsetof(WorkBlock, formList) == 3608);

// Each text buffer holds 524 bytes: up to 523 ANSI characters or 261 wide ones, terminator
// excluded. The four buffers take 2096 bytes; the block is committed as a whole page anyway,
// and a 2048-byte block would leave the last buffer 48 bytes short.
constexpr std::size_t kTextBufferBytes = 524;

struct TextBlock {
    uint8_t commandLine[kTextBufferBytes];
    uint8_t path[kTextBufferBytes];
    uint8_t fileName[kTextBufferBytes];
    uint8_t description[kTextBufferBytes];
};

static_assert(sizeof(TextBlock) == 4 * kTextBufferBytes);
static_assert(offsetof(TextBlock, commandLine) == 0);
static_assert(offsetof(TextBlock, path) == 524);
static_assert(offsetof(TextBlock, fileName) == 1048);
static_assert(offsetof(TextBlock, description) == 1572);

// The characters of type Ch (terminator included) that a byte buffer holds.
template <class Ch>
constexpr int32_t UnitsIn(std::size_t bytes) {
    return static_cast<int32_t>(bytes / sizeof(Ch));
}

}  // namespace runtime
