# The web backend's mapping of the toolkit's values onto the page, under Node.
add_executable(web_mapping_tests ${CMAKE_CURRENT_LIST_DIR}/mapping_test.cpp support/fakes.cpp)
target_include_directories(web_mapping_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(web_mapping_tests PRIVATE screens webmapping GTest::gtest_main)
honderdtafels_warnings(web_mapping_tests)
honderdtafels_node_test(web_mapping_tests)
add_test(NAME web_mapping COMMAND web_mapping_tests)

# The page in headless Chromium, driven by Selenium from Debian's Python: one whole
# session as a child plays it. Only where Chromium, its driver and Selenium are installed.
find_program(CHROMIUM_EXECUTABLE chromium)
find_program(CHROMEDRIVER_EXECUTABLE chromedriver)
execute_process(COMMAND /usr/bin/python3 -c "import selenium" RESULT_VARIABLE selenium_missing
                OUTPUT_QUIET ERROR_QUIET)
if(CHROMIUM_EXECUTABLE AND CHROMEDRIVER_EXECUTABLE AND selenium_missing EQUAL 0)
  add_test(NAME web_page_chromium
           COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/page_test.py ${HONDERDTAFELS_SITE_DIR}
                   ${CMAKE_BINARY_DIR}/web-e2e)
  set_tests_properties(web_page_chromium PROPERTIES LABELS e2e TIMEOUT 300)
  # The page on a tablet: Chromium's touch emulation, landscape and portrait.
  add_test(NAME web_touch_chromium
           COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/touch_test.py ${HONDERDTAFELS_SITE_DIR}
                   ${CMAKE_BINARY_DIR}/web-touch)
  set_tests_properties(web_touch_chromium PROPERTIES LABELS e2e TIMEOUT 120)
  # The page after one visit with the server stopped, its manifest, and a new version.
  add_test(NAME web_offline_chromium
           COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/offline_test.py ${HONDERDTAFELS_SITE_DIR}
                   ${CMAKE_BINARY_DIR}/web-e2e ${CMAKE_COMMAND})
  set_tests_properties(web_offline_chromium PROPERTIES LABELS e2e TIMEOUT 180)
  # Where the page meets the browser, by the keyboard alone: the focus from the first key,
  # the classroom's lesson, a hidden page, the display turning, an input method, the end.
  add_test(NAME web_seam_chromium
           COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/seam_test.py ${HONDERDTAFELS_SITE_DIR}
                   ${CMAKE_BINARY_DIR}/web-seam)
  set_tests_properties(web_seam_chromium PROPERTIES LABELS e2e TIMEOUT 120)
else()
  message(STATUS "Chromium, chromedriver or python3-selenium missing: no test of the page")
endif()
