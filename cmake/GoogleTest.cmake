# GoogleTest from Debian's source package, built with this project's toolchain.
set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
# GoogleTest's own sources are not ours to keep warning-free, and they hold a literal (µ in
# GCC 12's <chrono>) that has no GBK spelling: they keep the compiler's own character set.
foreach(target gtest gtest_main)
  target_compile_options(${target} PRIVATE -w)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -fexec-charset=UTF-8)
  endif()
endforeach()

# One CTest test per test program: under Wine every process start costs, so a program
# runs all its cases in one go.
# A test that hangs (a modal window nobody answers) fails after its TIMEOUT instead of holding
# up the run.
function(filetime_add_test name)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()
