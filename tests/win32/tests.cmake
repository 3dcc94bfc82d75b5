# The Win32 backend's own windows under Wine, in a private X display: what only real
# windows and their messages show, on screens at 100, 150 and 200 % (each in a Wine
# prefix of its own whose LogPixels says so).
find_program(XVFB_RUN_EXECUTABLE xvfb-run)
if(NOT (WINE_EXECUTABLE AND XVFB_RUN_EXECUTABLE))
  message(STATUS "wine or xvfb-run missing: no test of the Win32 backend's windows")
  return()
endif()

add_executable(win32_tests ${CMAKE_CURRENT_LIST_DIR}/painting_test.cpp
                           ${CMAKE_CURRENT_LIST_DIR}/scale_test.cpp)
target_include_directories(win32_tests PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/shell)
target_link_libraries(win32_tests PRIVATE win32backend screens GTest::gtest_main)
honderdtafels_warnings(win32_tests)
foreach(dpi 96 144 192)
  add_test(NAME win32_windows_${dpi}dpi
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/at_scale.sh ${dpi}
                   ${CMAKE_BINARY_DIR}/wine-win32-${dpi} $<TARGET_FILE:win32_tests>)
  set_tests_properties(win32_windows_${dpi}dpi PROPERTIES FIXTURES_REQUIRED wine_prefix TIMEOUT 120
                       ENVIRONMENT HONDERDTAFELS_WINE_TEMPLATES=${HONDERDTAFELS_WINE_TEMPLATES})
endforeach()
