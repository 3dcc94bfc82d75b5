# The Windows program under Wine, in Xvfb with openbox, each test in a Wine prefix of its own
# (tests/wine/prefix.sh copies one template made once): the end-to-end steps of the desktop
# program, played against the .exe from the Linux side. Each run leaves its pictures of
# the screens in its output folder (screen-*.png), from which docs/windows-*.png are taken.

# Reads the program's windows through the Win32 API from beside it: a console program, so
# that what it finds comes out on Wine's standard output. It stands beside the program,
# where the scripts look for it.
add_executable(probe ${CMAKE_CURRENT_LIST_DIR}/probe.cpp)
target_link_libraries(probe PRIVATE oleacc ole32 oleaut32 uuid)
honderdtafels_warnings(probe)
set_target_properties(probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY $<TARGET_FILE_DIR:honderdtafels>)

find_program(XVFB_EXECUTABLE Xvfb)
find_program(OPENBOX_EXECUTABLE openbox)
find_program(XDOTOOL_EXECUTABLE xdotool)
find_program(XWININFO_EXECUTABLE xwininfo)
find_program(IMPORT_EXECUTABLE import)
find_program(SETXKBMAP_EXECUTABLE setxkbmap)
if(NOT (WINE_EXECUTABLE AND XVFB_EXECUTABLE AND OPENBOX_EXECUTABLE AND XDOTOOL_EXECUTABLE
        AND XWININFO_EXECUTABLE AND IMPORT_EXECUTABLE AND SETXKBMAP_EXECUTABLE))
  message(STATUS "wine, Xvfb, openbox, xdotool, xwininfo, import or setxkbmap missing:"
                 " no Windows session test")
  return()
endif()

set(wine_e2e_environment HONDERDTAFELS_PROBE=$<TARGET_FILE:probe>
                         HONDERDTAFELS_WINE_TEMPLATES=${HONDERDTAFELS_WINE_TEMPLATES})

# One whole round in real time as the desktop's session plays it, with the information
# screen's status bar and the screen reader's names read on the way: about two minutes.
add_test(NAME windows_session
         COMMAND ${PROJECT_SOURCE_DIR}/tests/e2e/run.sh $<TARGET_FILE:honderdtafels>
                 ${CMAKE_BINARY_DIR}/e2e-windows)
# Closes refused, Enter on a focused button, a key just after a round, and a Belgian
# AZERTY keyboard's number row: one more round, about a minute and a half.
add_test(NAME windows_seams
         COMMAND ${PROJECT_SOURCE_DIR}/tests/e2e/seams.sh $<TARGET_FILE:honderdtafels>
                 ${CMAKE_BINARY_DIR}/e2e-windows-seams)
# The fixture wine_prefix makes the Wine template before them. Their rounds' timing is
# measured: one real-time round of any program at a time.
set_tests_properties(windows_session windows_seams PROPERTIES
                     LABELS e2e TIMEOUT 300 COST 100 RESOURCE_LOCK realtime_round
                     ENVIRONMENT "${wine_e2e_environment}"
                     FIXTURES_REQUIRED wine_prefix)
# The session alone, as it ran before the suite ran side by side: its steps give the program
# under Wine 3 s to answer a click, and on a loaded machine (beside the suite's other tests
# or other builds) its first click on the clear button went unanswered that long.
set_tests_properties(windows_session PROPERTIES RUN_SERIAL TRUE)
