# Writes the AppStream metainfo METAINFO_OUT from its template METAINFO_IN. AppStream takes
# screenshots only from the web, so they are listed only when SCREENSHOT_URL names the web
# folder that holds the pictures of docs/ (ending in a slash); without it they are left out.
# Included by CMakeLists.txt, and run on its own with `cmake -P` by the package test.
file(READ "${METAINFO_IN}" metainfo)
if(SCREENSHOT_URL)
  string(CONFIGURE "${metainfo}" metainfo @ONLY)
else()
  string(REGEX REPLACE "  <screenshots>.*</screenshots>\n" "" metainfo "${metainfo}")
endif()
file(WRITE "${METAINFO_OUT}" "${metainfo}")
