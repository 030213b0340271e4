#pragma once
// The main form Window1: its template in the program's data and the identifiers by which the
// application reaches its controls, menu command and resources.
//
// Resources (menu 101, accelerator table 100, the common-controls manifest and the version
// block) are not part of this library: the program links the object library
// mt_forms_resources (see forms/CMakeLists.txt).

#include <cstddef>
#include <cstdint>

#include "forms/main_form_controls.h"
#include "forms/resource_ids.h"
#include "runtime/template/template_record.h"
#include "runtime/template/template_values.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace forms {

constexpr int32_t kMainMenuId = MT_MAIN_MENU;
constexpr int32_t kMainAcceleratorsId = MT_ACCELERATOR_TABLE;
constexpr int32_t kAboutCommand = MT_COMMAND_ABOUT;  // menu "Despre / About\tF1" and key F1
constexpr int32_t kVersionInfoId = MT_VERSION_INFO;

// Control identifiers (1000 + the control's Index in the template), read from the form's table.
namespace control_id {
constexpr int32_t inputLinie = ControlIdOf("inputLinie");            // edit: execute flag
constexpr int32_t btnStopCom = ControlIdOf("btnStopCom");            // push button "!": disconnect the port
constexpr int32_t btnSetCom = ControlIdOf("btnSetCom");              // push button ">": connect the port
constexpr int32_t btnTest = ControlIdOf("btnTest");                  // push button "Testeaza port"
constexpr int32_t Edit4 = ControlIdOf("Edit4");                      // edit: step delay
constexpr int32_t inputCom = ControlIdOf("inputCom");                // edit: serial device name, "COM1" at start
constexpr int32_t Edit3 = ControlIdOf("Edit3");                      // edit: Z
constexpr int32_t Edit2 = ControlIdOf("Edit2");                      // edit: Y
constexpr int32_t Edit1 = ControlIdOf("Edit1");                      // edit: X
constexpr int32_t Static4 = ControlIdOf("Static4");                  // label "Sleep"
constexpr int32_t Static5 = ControlIdOf("Static5");                  // label "Port"
constexpr int32_t GRUPSETARI = ControlIdOf("GRUPSETARI");            // group box "Setari"
constexpr int32_t GroupCoordonate = ControlIdOf("GroupCoordonate");  // group box "Coordonate spatiu"
constexpr int32_t Static1 = ControlIdOf("Static1");                  // label "X" (in GroupCoordonate)
constexpr int32_t Static2 = ControlIdOf("Static2");                  // label "Y" (in GroupCoordonate)
constexpr int32_t Static3 = ControlIdOf("Static3");                  // label "Z" (in GroupCoordonate)
constexpr int32_t Static6 = ControlIdOf("Static6");                  // label "i" (in GroupCoordonate)
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
