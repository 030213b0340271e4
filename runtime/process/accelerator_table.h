/* The resource identifier of the program's accelerator table: the main message loop loads the
   table of this number from the program's module, and the modal loops translate keys through
   it too. The program's resource script (forms/resources.rc) gives its table this number.
   A macro only, so that the resource compiler can read this file. */
#ifndef MT_RUNTIME_ACCELERATOR_TABLE_H
#define MT_RUNTIME_ACCELERATOR_TABLE_H

#define MT_ACCELERATOR_TABLE 100

#endif
