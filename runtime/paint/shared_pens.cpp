#include "runtime/paint/shared_pens.h"

#include "runtime/base/report_if.h"

namespace runtime {

HPEN lightFramePen = nullptr;
HPEN darkFramePen = nullptr;
int32_t framePenUsers = 0;

void AcquireFramePens() {
    if (framePenUsers == 0) {
        lightFramePen = CreatePen(PS_SOLID, 1, RGB(0xE0, 0xE0, 0xE0));
        darkFramePen = CreatePen(PS_SOLID, 1, RGB(0x80, 0x80, 0x80));
    }
    ++framePenUsers;
}

void ReleaseFramePens() {
    // More releases than references would leave the count below 0 and the next user without
    // pens.
    if (ReportIf(framePenUsers <= 0)) return;
    if (--framePenUsers > 0) return;
    DeleteObject(lightFramePen);
    DeleteObject(darkFramePen);
    lightFramePen = nullptr;
    darkFramePen = nullptr;
}

}  // namespace runtime
