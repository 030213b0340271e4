#pragma once
// Reading movement tokens out of a request line. Platform-free.

#include "app/motion/motion_state.h"
#include "app/request_buffer.h"
#include "forms/main_form.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace motion {

// Reads a number: one optional leading '-', then every byte from '0' (0x30) upward counts as
// a digit worth its code minus 0x30 (':' is 10, '=' 13, 'Y' 41). The number ends at the first
// byte below '0' or at the end of `text`. Computed modulo 2^32; no digits gives 0.
int32_t ParseDecimal(std::string_view text);

// What a scan asks its host to do, in scan order. The Win32 layer writes the display field
// and sleeps; tests record the calls.
class ScanEffects {
public:
    // `field` is one of the main form's edit controls (forms::control_id).
    virtual void ShowValue(int32_t field, uint32_t value) = 0;
    virtual void Pause(uint32_t milliseconds) = 0;

protected:
    ~ScanEffects() = default;
};

struct ScanResult {
    bool reachedLineEnd;  // a CR ended the scan; false when the bytes ran out first
    bool runLine;         // the request line ended with executeFlag set: plan and step it
};

// The longest step delay a "p=" token may set. The delay is slept on the window's thread, and
// the digit rule reads on into letters ("p=5abc" is 5 followed by three more digits), so a
// stray value would otherwise freeze the program for hours or days (-1 never ends).
inline constexpr uint32_t kMaxStepDelay = 10000;

// A "p=" value above kMaxStepDelay is refused like a negative one (those read as 2^31 or
// more): the delay in force is kept and nothing is slept.
constexpr bool IsAcceptableDelay(uint32_t milliseconds) {
    return milliseconds <= kMaxStepDelay;
}

// Scans the bytes of one request (exactly the bytes received) up to its first CR, updating
// `registers` and reporting each shown value and pause through `effects`. The first byte is
// never examined, and the bytes of a value are examined again as ordinary bytes. Nothing
// beyond `request` is read. Without a CR nothing is run, but the values read stay.
ScanResult ScanRequestLine(std::string_view request, MotionRegisters& registers,
                           ScanEffects& effects);

}  // namespace motion
