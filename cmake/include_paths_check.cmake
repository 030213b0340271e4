# Fails when a source file of the given folders includes a path that climbs with "../".
# Such an include is found beside the including file, not through a layer's include root, so
# it would reach a layer above its own without the build noticing.
#
#   cmake -DROOT=<source dir> -DFOLDERS="runtime;app" -P include_paths_check.cmake
if(NOT ROOT OR NOT FOLDERS)
  message(FATAL_ERROR "usage: cmake -DROOT=<dir> -DFOLDERS=<folder;...> -P include_paths_check.cmake")
endif()
set(found "")
set(count 0)
foreach(folder IN LISTS FOLDERS)
  file(GLOB_RECURSE sources LIST_DIRECTORIES false
       ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp ${ROOT}/${folder}/*.c ${ROOT}/${folder}/*.rc)
  foreach(source IN LISTS sources)
    file(STRINGS ${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]*\\.\\./")
    foreach(line IN LISTS lines)
      file(RELATIVE_PATH name ${ROOT} ${source})
      string(APPEND found "  ${name}: ${line}\n")
      math(EXPR count "${count} + 1")
    endforeach()
  endforeach()
endforeach()
if(count GREATER 0)
  message(FATAL_ERROR "${count} include(s) climbing with \"../\"; include by the path from the "
                      "source root (\"runtime/<layer>/...\") instead:\n${found}")
endif()
message(STATUS "no include climbs with \"../\" in: ${FOLDERS}")
