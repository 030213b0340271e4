#pragma once
// Captions as the runtime's painting draws them: in the text mode, in the record's font, with
// the mnemonic underlines hidden while the system hides keyboard cues.

#include <windows.h>

#include "runtime/template/template_record.h"

namespace runtime {

// DT_HIDEPREFIX for every DrawText, DSS_HIDEPREFIX for every disabled DrawState of a caption,
// while keyboard cues are hidden; else 0.
UINT TextCueFlag();
UINT StateCueFlag();

// True when the record has a caption that is not empty.
bool HasCaption(const RuntimeRecord& record);

// DrawText of the record's caption into `rectangle`; returns the text height.
int DrawCaption(HDC device, const RuntimeRecord& record, RECT* rectangle, UINT format);

// DrawState of the record's caption at (x, y) with `flags` (DST_... | DSS_...).
void DrawCaptionState(HDC device, const RuntimeRecord& record, int x, int y, UINT flags);

// Selects the record's font (when it has one) for the scope's life.
class FontScope {
public:
    FontScope(HDC device, uint32_t font) noexcept
        : device_(device), previous_(font != 0 ? SelectObject(device, SlotAs<HFONT>(font)) : nullptr) {}
    ~FontScope() {
        if (previous_ != nullptr) SelectObject(device_, previous_);
    }
    FontScope(const FontScope&) = delete;
    FontScope& operator=(const FontScope&) = delete;

private:
    HDC device_;
    HGDIOBJ previous_;
};

}  // namespace runtime
