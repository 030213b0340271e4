# The system's headers, precompiled once for the Windows test tree's own libraries and programs.
#
# Most of the time a source of the runtime or the application takes to compile goes in
# <windows.h> and the standard library's headers; the test tree compiles each of them once, in
# mt_system_headers, and every library and program of the project in it reuses that (the test
# programs have their own, with GoogleTest's headers: tests/CMakeLists.txt). The code compiled
# is the same. The release tree (scripts/package.sh, MT_BUILD_TESTS=OFF) compiles without it,
# so a source that misses an include of its own still fails there.

# mt_project_targets(<variable> <directory>): the targets defined in the directory and below it.
function(mt_project_targets variable directory)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    mt_project_targets(below ${subdirectory})
    list(APPEND targets ${below})
  endforeach()
  set(${variable} ${targets} PARENT_SCOPE)
endfunction()

# mt_precompile_system_headers(): gives every C++ library and program of the source tree that
# has no precompiled header of its own the shared one. Called once all targets are defined.
function(mt_precompile_system_headers)
  add_library(mt_system_headers OBJECT ${CMAKE_SOURCE_DIR}/cmake/system_headers.cpp)
  target_precompile_headers(mt_system_headers PRIVATE
    <windows.h> <commctrl.h> <algorithm> <cstdint> <cstring> <span> <string> <string_view> <vector>)
  mt_target_defaults(mt_system_headers)
  mt_project_targets(targets ${CMAKE_SOURCE_DIR})
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    get_target_property(folder ${target} SOURCE_DIR)
    # GoogleTest's targets come from its own source tree.
    cmake_path(IS_PREFIX CMAKE_SOURCE_DIR "${folder}" NORMALIZE ours)
    if(NOT ours OR NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|EXECUTABLE)$" OR
       target STREQUAL mt_system_headers)
      continue()
    endif()
    get_target_property(own ${target} PRECOMPILE_HEADERS)
    get_target_property(reused ${target} PRECOMPILE_HEADERS_REUSE_FROM)
    get_target_property(options ${target} COMPILE_OPTIONS)
    # A target compiled with other debug options (-g0) cannot take a header compiled with -g.
    if(own OR reused OR "-g0" IN_LIST options)
      continue()
    endif()
    target_precompile_headers(${target} REUSE_FROM mt_system_headers)
  endforeach()
endfunction()
