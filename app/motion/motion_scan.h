#pragma once
// Reading movement tokens out of a request line. Platform-free.

#include "app/motion/motion_state.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace motion {

// Reads a number: one optional leading '-', then every byte from '0' (0x30) upward counts as
// a digit worth its code minus 0x30 (':' is 10, '=' 13, 'Y' 41). The number ends at the first
// byte below '0' or at the end of `text`. Computed modulo 2^32; no digits gives 0.
int32_t ParseDecimal(std::string_view text);

// The numbers of the display fields in which a scan shows the values it reads, as its caller
// names them (the program: the main form's edit controls).
struct DisplayFields {
    int32_t executeFlag;
    int32_t stepDelay;
    int32_t x;
    int32_t y;
    int32_t z;
};

// What a scan asks its host to do, in scan order. The Win32 layer writes the display field
// and sleeps; tests record the calls.
class ScanEffects {
public:
    // `field` is one of the scan's DisplayFields.
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
// `registers` and reporting each value shown in one of `fields` and each pause through
// `effects`. The first byte is never examined, and the bytes of a value are examined again as
// ordinary bytes. Nothing beyond `request` is read. Without a CR nothing is run, but the
// values read stay.
ScanResult ScanRequestLine(std::string_view request, const DisplayFields& fields,
                           MotionRegisters& registers, ScanEffects& effects);

}  // namespace motion
