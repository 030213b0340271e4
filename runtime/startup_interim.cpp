#include "runtime/startup_interim.h"

namespace runtime {

ApplicationRecord Application{};
int32_t OsLevel = 0;
HCURSOR arrowCursor = nullptr;
HCURSOR waitCursor = nullptr;
WNDPROC buttonClassProc = nullptr;
WNDPROC ipFieldProc = nullptr;

const void* RuntimeClassName(RuntimeClass which) {
    static const char* const kAnsi[] = {"BKRUNMDIWINDOWProject1", "BKRUNMDICHILDWINDOW",
                                        "BKRUNWINDOWProject1", "BKRUNDIALOGBOXProject1",
                                        "BKMDICLIENT", "BKGROUP", "BKPICTURE"};
    static const wchar_t* const kWide[] = {L"BKRUNMDIWINDOWProject1", L"BKRUNMDICHILDWINDOW",
                                           L"BKRUNWINDOWProject1", L"BKRUNDIALOGBOXProject1",
                                           L"BKMDICLIENT", L"BKGROUP", L"BKPICTURE"};
    const auto index = static_cast<int32_t>(which);
    return wideMode != 0 ? static_cast<const void*>(kWide[index]) : kAnsi[index];
}

}  // namespace runtime
