#include "runtime/paint/paint_text.h"

#include "runtime/process/application.h"
#include "runtime/process/runtime_heap.h"
#include "runtime/process/system_calls.h"
#include "runtime/text/text_mode.h"

namespace runtime {

namespace {

// The caption as it shows without mnemonics: "&x" gives "x", "&&" gives "&". Drawn without
// prefix processing, it looks the same on every system, including those that draw the
// underline in spite of DT_HIDEPREFIX.
template <class Ch>
int32_t HidePrefixes(const Ch* source, Ch* destination) {
    int32_t written = 0;
    for (int32_t index = 0; source[index] != 0; ++index) {
        if (source[index] == Ch('&')) {
            if (source[index + 1] != Ch('&')) continue;
            ++index;
        }
        destination[written++] = source[index];
    }
    destination[written] = 0;
    return written;
}

// Calls draw(text, length, hidden) with the record's caption, or with its copy without
// mnemonics when `hide` asks for that (and a copy could be made).
template <class Ch, class Draw>
auto WithShownCaption(const RuntimeRecord& record, bool hide, Draw&& draw) {
    const Ch* caption = SlotAs<const Ch*>(record.Text);
    int32_t length = 0;
    while (caption[length] != 0) ++length;
    Ch* shown = hide ? static_cast<Ch*>(AllocRuntimeBlock(static_cast<uint32_t>((length + 1) * sizeof(Ch)))) : nullptr;
    if (shown == nullptr) return draw(caption, length, false);
    const int32_t shownLength = HidePrefixes(caption, shown);
    const auto result = draw(static_cast<const Ch*>(shown), shownLength, true);
    FreeRuntimeBlock(shown);
    return result;
}

}  // namespace

UINT TextCueFlag() { return hideKeyboardCues != 0 ? DT_HIDEPREFIX : 0; }

UINT StateCueFlag() { return hideKeyboardCues != 0 ? DSS_HIDEPREFIX : 0; }

bool HasCaption(const RuntimeRecord& record) {
    if (record.Text == 0) return false;
    return WithTextUnit([&](auto unit) { return *SlotAs<const decltype(unit)*>(record.Text) != 0; });
}

int DrawCaption(HDC device, const RuntimeRecord& record, RECT* rectangle, UINT format) {
    if (record.Text == 0) return 0;
    const bool hide = (format & DT_HIDEPREFIX) != 0 && (format & DT_NOPREFIX) == 0;
    return WithTextUnit([&](auto unit) {
        return WithShownCaption<decltype(unit)>(record, hide, [&](auto text, int32_t, bool hidden) {
            return DrawTextOf(device, text, rectangle, hidden ? format | DT_NOPREFIX : format);
        });
    });
}

void DrawCaptionState(HDC device, const RuntimeRecord& record, int x, int y, UINT flags) {
    if (record.Text == 0) return;
    const bool hide = (flags & DSS_HIDEPREFIX) != 0 && (flags & 0xF) == DST_PREFIXTEXT;
    WithTextUnit([&](auto unit) {
        WithShownCaption<decltype(unit)>(record, hide, [&](auto text, int32_t length, bool hidden) {
            const UINT shownFlags = hidden ? (flags & ~0xFu) | DST_TEXT : flags;
            return DrawStateTextOf(device, text, length, x, y, shownFlags);
        });
    });
}

}  // namespace runtime
