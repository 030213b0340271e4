// What a template's references become at run time: texts in the runtime heap, fonts, colours
// and brushes, images from the application's resources; and the runtime heap as the store of
// copied template trees.

#include "runtime/build/template_resources.h"

#include "runtime/build/build_support.h"
#include "runtime/build/form_geometry.h"
#include "runtime/process/application.h"
#include "runtime/process/runtime_heap.h"
#include "runtime/process/screen.h"
#include "runtime/process/screen_units.h"
#include "runtime/process/system_calls.h"
#include "runtime/template/template_values.h"
#include "runtime/text/text_convert.h"
#include "runtime/text/text_core.h"
#include "runtime/text/text_mode.h"

namespace runtime {

namespace {

// String-table entries are loaded up to this many characters.
constexpr int32_t kStringTableLimit = 260;

// A zero-filled heap text of `length` + 2 units with `source` copied in.
template <class Ch>
Ch* HeapTextCopy(const Ch* source, int32_t length) {
    auto* copy = static_cast<Ch*>(AllocRuntimeBlock(static_cast<uint32_t>((length + 2) * sizeof(Ch))));
    if (copy != nullptr) text::CopyText(copy, source);
    return copy;
}

// The ANSI text at `source` in the unit of the text mode. The whole text is taken, however
// long: the copy is sized from the text, not from a fixed scratch buffer.
char* HeapTextFromAnsi(const char* source, char*) {
    return HeapTextCopy(source, text::TextLength(source));
}
wchar_t* HeapTextFromAnsi(const char* source, wchar_t*) {
    const int units = MultiByteToWideChar(CP_ACP, 0, source, -1, nullptr, 0);  // with terminator
    auto* copy = static_cast<wchar_t*>(AllocRuntimeBlock(static_cast<uint32_t>((units + 1) * sizeof(wchar_t))));
    if (copy != nullptr && units > 0) AnsiToWide(source, copy, units);
    return copy;
}

template <class Ch>
Ch* ResolveTextIn(uint32_t reference, RuntimeRecord* captionRecord) {
    Ch* copy;
    if (IsStringTableId(reference)) {
        Ch entry[kStringTableLimit + 1] = {};
        const int loaded = LoadStringOf(ApplicationInstance(), reference, entry, kStringTableLimit + 1);
        entry[loaded > 0 ? loaded : 0] = 0;
        copy = HeapTextCopy(entry, text::TextLength(entry));
    } else {
        copy = HeapTextFromAnsi(SlotAs<const char*>(reference), static_cast<Ch*>(nullptr));
    }
    if (captionRecord != nullptr) captionRecord->CaptionLength = text::TextLength(copy);
    return copy;
}

// The runtime heap as the store of template copies: slot values are the blocks' addresses.
class RuntimeHeapStore final : public TemplateCopyStore {
public:
    RuntimeRecord* NewRecord(uint32_t* slot) override {
        auto* record = static_cast<RuntimeRecord*>(AllocRuntimeBlock(sizeof(RuntimeRecord)));
        *slot = ToSlot(record);
        return record;
    }
    uint32_t* NewChildArray(uint32_t entries, uint32_t* slot) override {
        auto* array = static_cast<uint32_t*>(AllocRuntimeBlock(entries * sizeof(uint32_t)));
        *slot = ToSlot(array);
        return array;
    }
    uint32_t CopyText(uint32_t reference, RuntimeRecord* captionRecord) override {
        return ToSlot(ResolveText(reference, captionRecord));
    }
};

RuntimeHeapStore heapStore;

}  // namespace

TemplateCopyStore& RuntimeRecordStore() { return heapStore; }

void* ResolveText(uint32_t reference, RuntimeRecord* captionRecord) {
    return WithTextUnit([&](auto unit) -> void* { return ResolveTextIn<decltype(unit)>(reference, captionRecord); });
}

HFONT CreateRuntimeFont(HWND window, int32_t size, int32_t bold, int32_t italic, int32_t underline,
                        int32_t strikeout, const void* faceName, int32_t fixedSize) {
    HDC device = window != nullptr ? GetDC(window) : CreateCompatibleDC(nullptr);
    const int32_t dpiY = device != nullptr ? GetDeviceCaps(device, LOGPIXELSY) : 0;
    if (device != nullptr) {
        if (window != nullptr) {
            ReleaseDC(window, device);
        } else {
            DeleteDC(device);
        }
    }
    const int32_t height = FontHeight(dpiY > 0 ? dpiY : kDefaultDpi, size, FontDivisor(fixedSize, pointDivisor));
    const int weight = bold != 0 ? FW_BOLD : FW_NORMAL;
    return CreateFontInMode(height, weight, italic != 0, underline != 0, strikeout != 0, faceName);
}

HFONT CreateRecordFont(const RuntimeRecord& record, HWND window, int32_t fixedSize) {
    return CreateRuntimeFont(window, record.FontSize, record.FontBold, record.FontItalic, record.FontUnderline,
                             record.FontStrikeout, SlotAs<const void*>(record.FontName), fixedSize);
}

uint32_t ResolveColor(uint32_t color, int32_t brush) {
    if (IsSystemColor(color)) {
        const int index = SystemColorIndex(color);
        return brush != 0 ? ToSlot(GetSysColorBrush(index)) : GetSysColor(index);
    }
    return brush != 0 ? ToSlot(CreateSolidBrush(color)) : color;
}

uint32_t LoadTemplateImage(uint32_t reference, int32_t bitmaps) {
    if (!IsImageResourceId(reference)) return reference;
    constexpr UINT kShared3d = LR_SHARED | LR_LOADMAP3DCOLORS;
    HANDLE image = nullptr;
    if (bitmaps != 0) image = LoadResourceImage(reference, IMAGE_BITMAP, 0, 0, kShared3d);
    if (image == nullptr) image = LoadResourceImage(reference, IMAGE_ICON, 0, 0, kShared3d | LR_DEFAULTSIZE);
    if (image == nullptr) image = LoadResourceImage(reference, IMAGE_CURSOR, 0, 0, kShared3d | LR_DEFAULTSIZE);
    return image != nullptr ? ToSlot(image) : reference;
}

}  // namespace runtime
