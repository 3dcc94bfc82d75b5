# Writes the AppStream metainfo METAINFO_OUT from its template METAINFO_IN. AppStream takes
# screenshots only from the web, so they are listed only when SCREENSHOT_URL names the web
# folder that holds the pictures of docs/ (ending in a slash); without it they are left out.
# The releases are those of CHANGELOG (CHANGELOG.md), newest first, each with its date.
# Included by CMakeLists.txt, and run on its own with `cmake -P` by the package test.
file(READ "${METAINFO_IN}" metainfo)

file(STRINGS "${CHANGELOG}" headings REGEX "^## \\[[0-9.]+\\] - [0-9-]+$")
set(releases "")
foreach(heading ${headings})
  string(REGEX REPLACE "^## \\[([0-9.]+)\\] - ([0-9-]+)$" "\\1;\\2" release "${heading}")
  list(GET release 0 version)
  list(GET release 1 date)
  string(APPEND releases "    <release version=\"${version}\" date=\"${date}\"/>\n")
endforeach()
if(NOT releases)
  message(FATAL_ERROR "${CHANGELOG} names no release")
endif()
string(REPLACE "@RELEASES@" "${releases}" metainfo "${metainfo}")

if(SCREENSHOT_URL)
  string(CONFIGURE "${metainfo}" metainfo @ONLY)
else()
  string(REGEX REPLACE "  <screenshots>.*</screenshots>\n" "" metainfo "${metainfo}")
endif()
file(WRITE "${METAINFO_OUT}" "${metainfo}")
