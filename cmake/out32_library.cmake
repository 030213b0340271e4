# mt_add_out32_library(NAME <name> SOURCES <files...> [LIBS <libs...>] [DECORATED])
# A 32-bit Windows DLL (<name>.dll, no "lib" prefix) of the kind --hook loads: its
# void __stdcall Out32(short, short) is exported by the plain name "Out32", as port-access
# libraries export it. The linker would export a stdcall routine as "Out32@8"; --kill-at drops
# the decoration. DECORATED keeps it (a library the program must refuse: it has no "Out32").
include_guard(GLOBAL)
function(mt_add_out32_library)
  cmake_parse_arguments(L "DECORATED" "NAME" "SOURCES;LIBS" ${ARGN})
  add_library(${L_NAME} SHARED ${L_SOURCES})
  set_target_properties(${L_NAME} PROPERTIES PREFIX "")
  target_link_libraries(${L_NAME} PRIVATE ${L_LIBS})
  if(NOT L_DECORATED)
    target_link_options(${L_NAME} PRIVATE -Wl,--kill-at)
  endif()
  mt_target_defaults(${L_NAME})
endfunction()
