# The web backend's mapping of the toolkit's values onto the page, under Node.
add_executable(web_mapping_tests ${CMAKE_CURRENT_LIST_DIR}/mapping_test.cpp support/fakes.cpp)
target_include_directories(web_mapping_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(web_mapping_tests PRIVATE screens webmapping GTest::gtest_main)
honderdtafels_warnings(web_mapping_tests)
honderdtafels_node_test(web_mapping_tests)
add_test(NAME web_mapping COMMAND web_mapping_tests)

# The page in the three engines children meet, driven from Debian's Python: Chromium and
# WebKitGTK through Selenium, Firefox ESR through the pinned puppeteer-core of
# tools/puppeteer. scripts/install-deps --web installs them all, so a missing one is an
# error here, not a test left out.
foreach(tool IN ITEMS chromium chromedriver firefox-esr WebKitWebDriver Xvfb node)
  find_program(tool_${tool} ${tool})
  if(NOT tool_${tool})
    message(FATAL_ERROR "${tool} is missing for the page's tests: run scripts/install-deps --web")
  endif()
endforeach()
execute_process(COMMAND /usr/bin/python3 -c "import selenium, PIL" RESULT_VARIABLE python_missing
                OUTPUT_QUIET ERROR_QUIET)
if(NOT python_missing EQUAL 0 OR NOT EXISTS ${CMAKE_SOURCE_DIR}/tools/puppeteer/node_modules/puppeteer-core)
  message(FATAL_ERROR "python3-selenium, python3-pil or tools/puppeteer's puppeteer-core is missing "
                      "for the page's tests: run scripts/install-deps --web")
endif()

# One whole session as a child plays it, in each engine.
foreach(engine IN ITEMS chromium firefox webkit)
  add_test(NAME web_page_${engine}
           COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/page_test.py ${engine}
                   ${HONDERDTAFELS_SITE_DIR} ${CMAKE_BINARY_DIR}/web-e2e/${engine})
  set_tests_properties(web_page_${engine} PROPERTIES LABELS e2e TIMEOUT 300)
endforeach()
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
