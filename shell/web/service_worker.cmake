# Writes the service worker OUTPUT from TEMPLATE with the files of the site SITE it keeps
# (FILES, absolute paths separated by commas), each with the Subresource Integrity of its
# contents, and its version: the project's (PROJECT_VERSION) and a hash of those contents and
# of the worker's own text, so that any change to the site gives a new worker, and the
# browser's storage names the version each cache holds.
#   cmake -DSITE=site -DFILES=a,b -DPROJECT_VERSION=1.0 -DTEMPLATE=service-worker.js.in
#         -DOUTPUT=... -P ...

# The base64 of the bytes a string of hexadecimal digits spells, as integrity metadata has it.
function(hex_to_base64 hex result)
  set(digits "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
  string(LENGTH "${hex}" length)
  set(text "")
  foreach(at RANGE 0 ${length} 6)
    if(at EQUAL length)
      break()
    endif()
    string(SUBSTRING "${hex}" ${at} 6 group)
    string(LENGTH "${group}" size)
    # A short last group is padded with zero bytes, and its missing characters with "=".
    math(EXPR bytes "${size} / 2")
    math(EXPR pad_length "6 - ${size}")
    string(REPEAT "0" ${pad_length} pad)
    math(EXPR value "0x${group}${pad}")
    foreach(shift 18 12 6 0)
      math(EXPR index "(${value} >> ${shift}) & 63")
      string(SUBSTRING "${digits}" ${index} 1 digit)
      string(APPEND text "${digit}")
    endforeach()
    if(bytes LESS 3)
      math(EXPR keep "${bytes} + 1")
      string(LENGTH "${text}" written)
      math(EXPR cut "${written} - 4 + ${keep}")
      string(SUBSTRING "${text}" 0 ${cut} text)
      math(EXPR fill "3 - ${bytes}")
      string(REPEAT "=" ${fill} equals)
      string(APPEND text "${equals}")
    endif()
  endforeach()
  set(${result} "${text}" PARENT_SCOPE)
endfunction()

string(REPLACE "," ";" files "${FILES}")
list(SORT files)
file(SHA256 ${TEMPLATE} listing)
string(APPEND listing "\n")
set(FILES "")
foreach(file ${files})
  file(RELATIVE_PATH name ${SITE} ${file})
  file(SHA256 ${file} hash)
  hex_to_base64(${hash} integrity)
  string(APPEND listing "${hash} ${name}\n")
  string(APPEND FILES "  '${name}': 'sha256-${integrity}',\n")
endforeach()
string(SHA256 version "${listing}")
string(SUBSTRING ${version} 0 16 hash)
set(VERSION ${PROJECT_VERSION}-${hash})
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
