# The Win32 backend's own windows under Wine, in a private X display: what only real
# windows and their messages show. The unit tests' Wine prefix serves them too.
find_program(XVFB_RUN_EXECUTABLE xvfb-run)
if(NOT (WINE_EXECUTABLE AND XVFB_RUN_EXECUTABLE))
  message(STATUS "wine or xvfb-run missing: no test of the Win32 backend's windows")
  return()
endif()

add_executable(win32_tests ${CMAKE_CURRENT_LIST_DIR}/painting_test.cpp)
target_include_directories(win32_tests PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/shell)
target_link_libraries(win32_tests PRIVATE win32backend GTest::gtest_main)
honderdtafels_warnings(win32_tests)
add_test(NAME win32_windows
         COMMAND ${XVFB_RUN_EXECUTABLE} -a ${WINE_EXECUTABLE} $<TARGET_FILE:win32_tests>)
set_tests_properties(win32_windows PROPERTIES FIXTURES_REQUIRED wine_prefix TIMEOUT 120
  ENVIRONMENT "WINEPREFIX=${unit_tests_prefix};WINEARCH=win64;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree=\;mshtml=\;winemenubuilder.exe=d")
