#include "app/motion/motion_scan.h"

namespace motion {

int32_t ParseDecimal(std::string_view text) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && text[pos] == '-') {
        negative = true;
        ++pos;
    }
    uint32_t value = 0;
    for (; pos < text.size(); ++pos) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < '0') break;
        value = value * 10u + (byte - '0');
    }
    if (negative) value = 0u - value;
    // Two's complement reading of the 32-bit pattern.
    return static_cast<int32_t>(value);
}

namespace {

constexpr char kLineEnd = '\r';

// The value of a token starts right after its marker; it may run into the end of the bytes.
uint32_t ValueAt(std::string_view request, std::size_t valueStart) {
    if (valueStart >= request.size()) return 0;
    // The register keeps the 32-bit pattern; the cast only changes how it is read.
    return static_cast<uint32_t>(ParseDecimal(request.substr(valueStart)));
}

void ShiftAxis(uint32_t& previous, uint32_t& current, uint32_t value) {
    previous = current;
    current = value;
}

void OnExecuteToken(uint32_t value, int32_t field, MotionRegisters& registers, ScanEffects& effects) {
    registers.executeFlag = value;
    effects.ShowValue(field, registers.executeFlag);
}

void OnDelayToken(uint32_t value, int32_t field, MotionRegisters& registers, ScanEffects& effects) {
    const bool accepted = IsAcceptableDelay(value);
    if (accepted) registers.stepDelay = value;
    // The field shows the delay in force, which a refused value leaves unchanged.
    effects.ShowValue(field, registers.stepDelay);
    if (accepted) effects.Pause(registers.stepDelay);
}

bool IsAssignmentToken(std::string_view request, std::size_t pos, char name) {
    return request[pos] == name && pos + 1 < request.size() && request[pos + 1] == '=';
}

}  // namespace

ScanResult ScanRequestLine(std::string_view request, const DisplayFields& fields,
                           MotionRegisters& registers, ScanEffects& effects) {
    // The scan moves one byte before its first look, so the request's first byte is never
    // examined. It moves one byte at a time: the bytes of a value are looked at again.
    for (std::size_t pos = 1; pos < request.size(); ++pos) {
        if (IsAssignmentToken(request, pos, 'e')) {
            OnExecuteToken(ValueAt(request, pos + 2), fields.executeFlag, registers, effects);
        } else if (IsAssignmentToken(request, pos, 'p')) {
            OnDelayToken(ValueAt(request, pos + 2), fields.stepDelay, registers, effects);
        } else if (request[pos] == 'X') {
            ShiftAxis(registers.prevX, registers.curX, ValueAt(request, pos + 1));
            effects.ShowValue(fields.x, registers.curX);
        } else if (request[pos] == 'Y') {
            ShiftAxis(registers.prevY, registers.curY, ValueAt(request, pos + 1));
            effects.ShowValue(fields.y, registers.curY);
        } else if (request[pos] == 'Z') {
            ShiftAxis(registers.prevZ, registers.curZ, ValueAt(request, pos + 1));
            effects.ShowValue(fields.z, registers.curZ);
        } else if (request[pos] == kLineEnd) {
            return ScanResult{true, registers.executeFlag != 0};
        }
    }
    // No CR within the bytes received: an incomplete request line is never executed.
    return ScanResult{false, false};
}

}  // namespace motion
