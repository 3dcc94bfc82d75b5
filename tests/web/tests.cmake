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

# One whole session as a child plays it, in each engine. Their rounds' ticks are measured to
# tens of milliseconds, and a browser's timers come late on a busy machine: two rounds at
# once on two cores came late, and so did one beside the suite's other tests (the round's
# end 53 ms off). Each runs alone.
foreach(engine IN ITEMS chromium firefox webkit)
  add_test(NAME web_page_${engine}
           COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/page_test.py ${engine}
                   ${HONDERDTAFELS_SITE_DIR} ${CMAKE_BINARY_DIR}/web-e2e/${engine})
  set_tests_properties(web_page_${engine} PROPERTIES LABELS e2e TIMEOUT 300 RUN_SERIAL TRUE)
endforeach()
# The page on phones, tablets, a whiteboard and a 4K screen, resized from size to size, in
# each engine; no round plays in real time.
foreach(engine IN ITEMS chromium firefox webkit)
  add_test(NAME web_sizes_${engine}
           COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/sizes_test.py ${engine}
                   ${HONDERDTAFELS_SITE_DIR} ${CMAKE_BINARY_DIR}/web-sizes/${engine})
  set_tests_properties(web_sizes_${engine} PROPERTIES LABELS e2e TIMEOUT 180)
endforeach()
# The page on a tablet, landscape and portrait, and on a phone on its side: Chromium's touch
# emulation.
add_test(NAME web_touch_chromium
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/touch_test.py ${HONDERDTAFELS_SITE_DIR}
                 ${CMAKE_BINARY_DIR}/web-touch)
set_tests_properties(web_touch_chromium PROPERTIES LABELS e2e TIMEOUT 120)
# The page after one visit with the server stopped, its manifest, and a new version.
add_test(NAME web_offline_chromium
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/offline_test.py ${HONDERDTAFELS_SITE_DIR}
                 ${CMAKE_BINARY_DIR}/web-e2e ${CMAKE_COMMAND})
set_tests_properties(web_offline_chromium PROPERTIES LABELS e2e TIMEOUT 180)
# The falling problem's moves cost no layout of the page.
add_test(NAME web_round_cost_chromium
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/round_cost_test.py
                 ${HONDERDTAFELS_SITE_DIR} ${CMAKE_BINARY_DIR}/web-e2e)
set_tests_properties(web_round_cost_chromium PROPERTIES LABELS e2e TIMEOUT 60)
# The page's cut fonts against the whole ones, for every text of the designs and screens.
add_executable(web_texts ${CMAKE_CURRENT_LIST_DIR}/texts_main.cpp)
target_link_libraries(web_texts PRIVATE screens webmapping)
honderdtafels_warnings(web_texts)
honderdtafels_node_test(web_texts)
file(GLOB screen_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/shell/*_screen.cpp
     ${CMAKE_SOURCE_DIR}/drill/*_screen.cpp ${CMAKE_SOURCE_DIR}/classroom/*_screen.cpp)
add_test(NAME web_fonts_chromium
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/fonts_test.py ${CMAKE_BINARY_DIR}/web-fonts.json
                 ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:web_texts>
                 ${CMAKE_SOURCE_DIR}/shell/maker.h ${CMAKE_SOURCE_DIR}/shell/program.cpp ${screen_sources})
set_tests_properties(web_fonts_chromium PROPERTIES LABELS e2e TIMEOUT 120)
# Where the page meets the browser, by the keyboard alone: the focus from the first key,
# the classroom's lesson, a hidden page, the display turning, an input method, the end.
add_test(NAME web_seam_chromium
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/seam_test.py ${HONDERDTAFELS_SITE_DIR}
                 ${CMAKE_BINARY_DIR}/web-seam)
set_tests_properties(web_seam_chromium PROPERTIES LABELS e2e TIMEOUT 120)

# The page from a school's nginx and from its Apache over https, each serving the school's
# own lines, trusted by Chromium through a certificate authority made for the test, and
# offline after one visit: one test, run once per server.
find_program(NGINX_EXECUTABLE nginx PATHS /usr/sbin REQUIRED)
find_program(APACHE_EXECUTABLE apache2 PATHS /usr/sbin REQUIRED)
find_file(NGINX_BROTLI_MODULE ngx_http_brotli_static_module.so PATHS /usr/lib/nginx/modules
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_program(CERTUTIL_EXECUTABLE certutil REQUIRED)
find_program(OPENSSL_EXECUTABLE openssl REQUIRED)
foreach(server IN ITEMS nginx apache)
  add_test(NAME web_https_${server}
           COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/server_test.py ${HONDERDTAFELS_SITE_DIR}
                   ${CMAKE_BINARY_DIR}/web-https ${server})
  set_tests_properties(web_https_${server} PROPERTIES LABELS e2e TIMEOUT 180)
endforeach()
# IIS, which does not run here: the web.config in the site gives the types and caching
# headers of nginx's rules.
add_test(NAME web_iis_config
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/iis_config_check.py
                 ${HONDERDTAFELS_SITE_DIR}/web.config
                 ${CMAKE_SOURCE_DIR}/packaging/web/nginx-rules.conf
                 ${CMAKE_SOURCE_DIR}/packaging/web/iis-compression.cmd)
# The home screen's icons, packed by the build: the pixels rsvg-convert drew, in fewer bytes.
add_test(NAME web_icons
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/icons_check.py
                 ${CMAKE_BINARY_DIR}/shell/web ${HONDERDTAFELS_SITE_DIR} 192 512)
# The page's first screen, written by the build: its scale by the toolkit's rule, under
# Node; and in each engine where and as the program then draws it, and before the program.
add_test(NAME web_first_screen_scale
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/first_screen_scale_test.py
                 ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:web_first_screen_numbers>
                 ${CMAKE_SOURCE_DIR}/shell/web/first_screen.js)
foreach(engine IN ITEMS chromium firefox webkit)
  add_test(NAME web_first_screen_${engine}
           COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/first_screen_test.py ${engine}
                   ${HONDERDTAFELS_SITE_DIR} ${CMAKE_BINARY_DIR}/web-first-screen/${engine})
  set_tests_properties(web_first_screen_${engine} PROPERTIES LABELS e2e TIMEOUT 180)
endforeach()
