#pragma once
// What a template's references become at run time: texts in the runtime heap, fonts, colours
// and brushes, images from the application's resources; and the runtime heap as the store of
// copied template trees.

#include <windows.h>

#include <cstdint>

#include "runtime/template/template_copy.h"
#include "runtime/template/template_record.h"

namespace runtime {

// The store whose slot values are runtime-heap addresses.
TemplateCopyStore& RuntimeRecordStore();

// A text reference as a new runtime-heap text in the text mode (length + 2 characters,
// zero-filled): 0x8000 and above the ANSI text at that address, below it the string-table
// entry (at most 260 characters; a missing entry gives an empty text). With a caption record
// the length in characters also goes to its CaptionLength. Null when there is no memory.
void* ResolveText(uint32_t reference, RuntimeRecord* captionRecord);

// A font of `size` points for the device of `window` (a memory device without one), with the
// face name (text in mode); a non-zero fixedSize makes its height independent of the DPI.
HFONT CreateRuntimeFont(HWND window, int32_t size, int32_t bold, int32_t italic, int32_t underline,
                        int32_t strikeout, const void* faceName, int32_t fixedSize);

// CreateRuntimeFont with the record's own font slots (size, bold, italic, underline,
// strikeout, face name) and `fixedSize`, the FixedFontSize of the record's form.
HFONT CreateRecordFont(const RuntimeRecord& record, HWND window, int32_t fixedSize);

// A colour value as RGB, or with `brush` non-zero as a brush (a system colour's own brush for a
// system colour, else a new solid brush that the caller owns), as a 32-bit value.
uint32_t ResolveColor(uint32_t color, int32_t brush);

// An image reference as an image: 0 and 0x10000 or more unchanged; a resource identifier as
// the application's bitmap (only when `bitmaps` is non-zero), icon or cursor, the first that
// loads; the reference itself when none does.
uint32_t LoadTemplateImage(uint32_t reference, int32_t bitmaps);

}  // namespace runtime
