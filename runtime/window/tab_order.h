#pragma once
// The order in which keyboard navigation tries a form's controls: by Index, from a start index,
// forwards or backwards, wrapping once around. Platform-free; NextTabStop
// (runtime/window/window_operations.h) tests each index against the form's controls.

#include <cstdint>

namespace runtime {

// Calls `accepts(index)` for the indexes of `count` controls in search order and returns the
// first index it accepts, -1 when none. Forwards: start ... count-1, then 0 ... start-1; a start
// past the end begins at 0. Backwards: start ... 0, then count-1 ... start+1; a start before
// the first control begins at the last one, so that Shift+Tab from the first control wraps
// round, and a start past the end begins at the last one too.
template <class Accepts>
int32_t SearchTabOrder(int32_t start, int32_t count, bool backwards, Accepts&& accepts) {
    if (count <= 0) return -1;
    if (!backwards) {
        if (start < 0) start = 0;
        if (start > count) start = count;
        for (int32_t index = start; index < count; ++index) {
            if (accepts(index)) return index;
        }
        for (int32_t index = 0; index < start; ++index) {
            if (accepts(index)) return index;
        }
        return -1;
    }
    if (start < 0 || start > count - 1) start = count - 1;
    for (int32_t index = start; index >= 0; --index) {
        if (accepts(index)) return index;
    }
    for (int32_t index = count - 1; index > start; --index) {
        if (accepts(index)) return index;
    }
    return -1;
}

}  // namespace runtime
