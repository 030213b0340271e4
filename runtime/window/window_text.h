#pragma once
// The runtime window procedure's text and image rows.

#include <windows.h>

#include <cstdint>

#include "runtime/process/window_message.h"

namespace runtime {

LRESULT OnSetText(const Message& m);
LRESULT OnSetFont(const Message& m);
LRESULT OnSetImage(const Message& m);  // STM_SETICON and STM_SETIMAGE
LRESULT OnSetImageList(const Message& m);  // CBEM_SETIMAGELIST (WM_USER + 2)

// Measures the record's caption in its font: the text height goes to ImageHeight; for a group
// box (`group` set) also the caption's place, ClassValue3 the left offset (9) and ImageWidth the
// caption width + 4, all 0 for a caption that takes no room.
void MeasureRecordCaption(RuntimeRecord& record, int32_t group);

}  // namespace runtime
