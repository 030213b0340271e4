#include "runtime/process/application.h"

#include "runtime/process/system_calls.h"

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

HINSTANCE ApplicationInstance() { return SlotAs<HINSTANCE>(Application.Instance); }

void ReadKeyboardCues() {
    BOOL cuesShown = FALSE;
    SystemParameter(SPI_GETKEYBOARDCUES, 0, &cuesShown);
    hideKeyboardCues = cuesShown ? 0 : 1;
}

}  // namespace runtime
