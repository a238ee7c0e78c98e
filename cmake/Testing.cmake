# GoogleTest built for the target from Debian's source tree; every test executable is one
# ctest entry run under Wine through the cross-compiling emulator.
enable_testing()
set(QZ_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${QZ_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# qz_add_test(name SOURCES file... [LIBS lib...] [DEPENDS target...] [TIMEOUT seconds] [DESKTOP])
# DEPENDS names targets (test plug-ins, drivers) that the test loads at run time; they are built
# with it, into the same folder as the test (see tests/support/TestPaths.h).
# DESKTOP marks a test that presses keys and buttons, opens dialogs or menus or moves the focus:
# Wine keeps one input state for all its programs, so such tests never run side by side.
function(qz_add_test name)
  cmake_parse_arguments(T "DESKTOP" "TIMEOUT" "SOURCES;LIBS;DEPENDS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  # A skipped test tested nothing: under the test command every service a test needs is there.
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} FAIL_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
  if(T_DESKTOP)
    set_property(TEST ${name} APPEND PROPERTY RESOURCE_LOCK desktop)
  endif()
endfunction()

# Every executable and DLL lands in one folder, so tests find the DLLs they load.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
