# The MSI and the zip of `make package`, made from this .exe and checked under Wine in a
# prefix of their own: signatures, a silent install over an older build, the shortcut and
# the program it starts, and an uninstall that leaves nothing. About a minute.
add_test(NAME windows_package
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/package/windows_check.sh $<TARGET_FILE:honderdtafels>
                 ${CMAKE_BINARY_DIR}/windows-package)
set_tests_properties(windows_package PROPERTIES LABELS "package;wine" TIMEOUT 240
                     FIXTURES_REQUIRED wine_prefix ENVIRONMENT
                     "HONDERDTAFELS_PROBE=$<TARGET_FILE:probe>;HONDERDTAFELS_WINE_TEMPLATES=${HONDERDTAFELS_WINE_TEMPLATES}")
