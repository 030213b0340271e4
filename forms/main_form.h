#pragma once
// The main form Window1: its template in the program's data and the identifiers by which the
// application reaches its controls, menu command and resources.
//
// Resources (menu 101, accelerator table 100, the common-controls manifest and the version
// block) are not part of this library: the program links the object library
// mt_forms_resources (see forms/CMakeLists.txt).

#include <cstddef>
#include <cstdint>

#include "forms/resource_ids.h"
#include "runtime/template/template_record.h"
#include "runtime/template/template_values.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace forms {

// Records of the template: the form, its 13 controls and the 4 children of GroupCoordonate.
constexpr std::size_t kMainFormRecordCount = 18;

constexpr int32_t kMainMenuId = MT_MAIN_MENU;
constexpr int32_t kMainAcceleratorsId = MT_ACCELERATOR_TABLE;
constexpr int32_t kAboutCommand = MT_COMMAND_ABOUT;  // menu "Despre / About\tF1" and key F1
constexpr int32_t kVersionInfoId = MT_VERSION_INFO;

// Control identifiers (1000 + the control's Index in the template).
namespace control_id {
constexpr int32_t inputLinie = 1000;  // edit: execute flag
constexpr int32_t btnStopCom = 1001;  // push button "!": disconnect the port
constexpr int32_t btnSetCom = 1002;   // push button ">": connect the port
constexpr int32_t btnTest = 1003;     // push button "Testeaza port"
constexpr int32_t Edit4 = 1004;       // edit: step delay
constexpr int32_t inputCom = 1005;    // edit: serial device name, "COM1" at start
constexpr int32_t Edit3 = 1006;       // edit: Z
constexpr int32_t Edit2 = 1007;       // edit: Y
constexpr int32_t Edit1 = 1008;       // edit: X
constexpr int32_t Static4 = 1009;     // label "Sleep"
constexpr int32_t Static5 = 1010;     // label "Port"
constexpr int32_t GRUPSETARI = 1011;  // group box "Setari"
constexpr int32_t GroupCoordonate = 1012;  // group box "Coordonate spatiu"
constexpr int32_t Static1 = 1013;     // label "X" (in GroupCoordonate)
constexpr int32_t Static2 = 1014;     // label "Y" (in GroupCoordonate)
constexpr int32_t Static3 = 1015;     // label "Z" (in GroupCoordonate)
constexpr int32_t Static6 = 1016;     // label "i" (in GroupCoordonate)
}  // namespace control_id

#if defined(_WIN32) && UINTPTR_MAX == UINT32_MAX
// The template of Window1, contiguous and depth first, ready for the form builder.
//
// `windowProc` is the application's window procedure of the main form: it goes into the form
// record's WindowProc slot, and the runtime calls it for every message of the main window.
// Every call lays the same values out again in one static array (no global constructor runs
// for it) and installs `windowProc`; the records stay valid for the life of the process.
// Call it from the user-interface thread, before the builder reads the template.
const runtime::TemplateRecord* MainFormTemplate(WNDPROC windowProc) noexcept;
#endif

}  // namespace forms
