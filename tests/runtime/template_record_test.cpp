// The template record read from raw little-endian bytes, as templates lie in the program's
// data, and the runtime record made from it.

#include "runtime/template/template_record.h"
#include "runtime/template/template_values.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>

namespace {

using runtime::RuntimeRecord;
using runtime::TemplateRecord;

// Every slot carries a value made from its offset, written byte by byte, low byte first.
constexpr uint32_t SlotMark(std::size_t offset) { return 0xA5000000u + static_cast<uint32_t>(offset); }

template <std::size_t N>
std::array<unsigned char, N> MarkedBytes() {
    std::array<unsigned char, N> bytes{};
    for (std::size_t offset = 0; offset < N; offset += 4) {
        const uint32_t mark = SlotMark(offset);
        for (std::size_t b = 0; b < 4; ++b) bytes[offset + b] = static_cast<unsigned char>(mark >> (8 * b));
    }
    return bytes;
}

struct SlotCase {
    const char* name;
    std::size_t offset;
    uint32_t (*read)(const TemplateRecord&);
};

#define SLOT(name, offset) \
    { #name, offset, [](const TemplateRecord& r) { return static_cast<uint32_t>(r.name); } }

TEST(TemplateRecord, NamedSlotsReadTheirLittleEndianBytes) {
    const auto bytes = MarkedBytes<runtime::kTemplateRecordSize>();
    TemplateRecord record;
    std::memcpy(&record, bytes.data(), bytes.size());
    // Both names of every shared slot, and the slots around them.
    const SlotCase cases[] = {
        SLOT(ClassFlag0, 0),      SLOT(BackColor, 8),        SLOT(StartPosition, 24),
        SLOT(ClassValue2, 24),    SLOT(ItemCount, 40),       SLOT(LineStyle, 40),
        SLOT(ImageList, 40),      SLOT(FontName, 68),        SLOT(Window, 96),
        SLOT(Menu, 144),          SLOT(ToolTipText, 144),    SLOT(Name, 148),
        SLOT(Max, 184),           SLOT(Min, 188),            SLOT(WindowState, 188),
        SLOT(SelEnd, 192),        SLOT(ModalOwner, 192),     SLOT(ToolTips, 196),
        SLOT(Index, 196),         SLOT(Text, 204),           SLOT(Type, 232),
        SLOT(WindowProc, 248),    SLOT(DialogId, 256),       SLOT(ControlId, 256),
        SLOT(ControlCount, 260),  SLOT(Children, 260),       SLOT(DefaultButton, 264),
        SLOT(Style, 272),         SLOT(Items, 276),          SLOT(Self, 280),
        SLOT(SavedFont, 280),
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.read(record), SlotMark(c.offset)) << c.name << " at offset " << c.offset;
    }
}

#undef SLOT

TEST(TemplateRecord, RuntimeRecordIsTheTemplateAndOneMoreSlot) {
    const auto templateBytes = MarkedBytes<runtime::kTemplateRecordSize>();
    TemplateRecord source;
    std::memcpy(&source, templateBytes.data(), templateBytes.size());

    RuntimeRecord copy{};
    copy.ToolTip = 0x12345678u;
    static_cast<TemplateRecord&>(copy) = source;

    std::array<unsigned char, runtime::kRuntimeRecordSize> copyBytes{};
    std::memcpy(copyBytes.data(), &copy, copyBytes.size());
    EXPECT_EQ(std::memcmp(copyBytes.data(), templateBytes.data(), templateBytes.size()), 0)
        << "the first 284 bytes are the template's";
    const uint32_t extra = copyBytes[284] | copyBytes[285] << 8 | copyBytes[286] << 16 |
                           static_cast<uint32_t>(copyBytes[287]) << 24;
    EXPECT_EQ(extra, 0x12345678u) << "the extra slot lies at byte 284 and survives the copy";
}

TEST(TemplateValues, EncodingsSplitAtTheirBoundaries) {
    struct Case {
        const char* what;
        bool actual;
        bool expected;
    };
    const Case cases[] = {
        {"0x8000000F is a system colour", runtime::IsSystemColor(0x8000000Fu), true},
        {"0x000000FF is RGB", runtime::IsSystemColor(0x000000FFu), false},
        {"0x7FFFFFFF is RGB", runtime::IsSystemColor(0x7FFFFFFFu), false},
        {"text reference 0 is a string id", runtime::IsStringTableId(0), true},
        {"text reference 0x7FFF is a string id", runtime::IsStringTableId(0x7FFF), true},
        {"text reference 0x8000 is an address", runtime::IsStringTableId(0x8000), false},
        {"image reference 0 is none", runtime::IsImageResourceId(0), false},
        {"image reference 1 is a resource", runtime::IsImageResourceId(1), true},
        {"image reference 0xFFFF is a resource", runtime::IsImageResourceId(0xFFFF), true},
        {"image reference 0x10000 is a handle", runtime::IsImageResourceId(0x10000), false},
        {"type 3 is a form", runtime::IsFormType(3), true},
        {"type 4 is a control", runtime::IsFormType(4), false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.actual, c.expected) << c.what;

    EXPECT_EQ(runtime::SystemColorIndex(0x8000000Fu), 15);
    EXPECT_EQ(runtime::SystemColorIndex(0x80001212u), 0x12) << "only the low 8 bits name it";
    EXPECT_EQ(runtime::ControlIdFromIndex(0), 1000);
}

TEST(TemplateValues, ControlClassNamesCoverTheClassCodesOnly) {
    EXPECT_EQ(runtime::ControlClassName(3), nullptr);
    EXPECT_EQ(runtime::ControlClassName(35), nullptr);
    EXPECT_STREQ(runtime::ControlClassName(runtime::class_code::Label), "STATIC");
    EXPECT_STREQ(runtime::ControlClassName(runtime::class_code::GroupBox), "BKGROUP");
    EXPECT_STREQ(runtime::ControlClassName(runtime::class_code::Rebar), "ReBarWindow32");
}

}  // namespace
