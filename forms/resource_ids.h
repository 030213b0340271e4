/* Identifiers of the program's resources, shared by the resource script (resources.rc, read by
   the resource compiler's C preprocessor) and the C++ code (forms/main_form.h). Macros only,
   so that the resource compiler can read this file. */
#ifndef MT_FORMS_RESOURCE_IDS_H
#define MT_FORMS_RESOURCE_IDS_H

/* Accelerator table of the main message loop (F1 gives the About command): the number the
   runtime loads, MT_ACCELERATOR_TABLE. */
#include "runtime/process/accelerator_table.h"

/* Menu of the main form: one popup "?" with the About command. */
#define MT_MAIN_MENU 101
/* The About command, from the menu item and from F1. */
#define MT_COMMAND_ABOUT 40000
/* The version block. */
#define MT_VERSION_INFO 1

#endif
