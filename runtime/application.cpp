#include "runtime/application.h"

#include "runtime/text/text_mode.h"

namespace runtime {

ApplicationRecord Application = {};
int32_t OsLevel = 0;
int32_t manifestPresent = 0;
int32_t hideKeyboardCues = 0;
HCURSOR arrowCursor = nullptr;
HCURSOR waitCursor = nullptr;
WNDPROC buttonClassProc = nullptr;
WNDPROC mdiClientClassProc = nullptr;
WorkBlock* workBlock = nullptr;
TextBlock* textBlock = nullptr;
uint32_t* currentFormEntry = nullptr;

void ReadKeyboardCues() {
    BOOL cuesShown = FALSE;
    if (wideMode != 0) {
        SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &cuesShown, 0);
    } else {
        SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &cuesShown, 0);
    }
    hideKeyboardCues = cuesShown ? 0 : 1;
}

}  // namespace runtime
