# GoogleTest. The Windows tree builds it from Debian's source package with its own compiler; the
# host tree takes Debian's built libraries (libgtest-dev, libgmock-dev) when they are there, so
# that a host build does not compile GoogleTest again, and builds the sources otherwise.
if(NOT MT_WINDOWS)
  find_package(GTest CONFIG QUIET)
  if(TARGET GTest::gtest AND TARGET GTest::gmock)
    include(GoogleTest)
    return()
  endif()
endif()
set(MT_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest source tree")
if(NOT EXISTS ${MT_GTEST_SOURCE_DIR}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${MT_GTEST_SOURCE_DIR}; run scripts/setup.sh")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${MT_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)
# The Windows test programs link without debug information; GoogleTest is built without it.
if(MT_WINDOWS)
  target_compile_options(gtest PRIVATE -g0)
  target_compile_options(gmock PRIVATE -g0)
endif()
