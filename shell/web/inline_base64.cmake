# Writes the page's font style sheets and the script that carries its WebAssembly.
#   cmake -DMODE=fonts -DOUTPUT=fonts.css -DSITE=site -DFONTS="family|weight|file,..." -P ...
#   cmake -DMODE=fonts-inline -DOUTPUT=fonts-inline.css -DSITE=site -DFONTS=... -P ...
#   cmake -DMODE=wasm -DOUTPUT=honderdtafels.wasm.js -DWASM=honderdtafels.wasm -P ...
# fonts.css links the fonts' files (file names relative to SITE); fonts-inline.css and the
# script carry their files inside them as base64, for a page opened from a file share (a
# file:// address), from which a browser fetches no font or WebAssembly file.
function(base64 file result)
  execute_process(COMMAND base64 -w0 ${file} OUTPUT_VARIABLE data COMMAND_ERROR_IS_FATAL ANY)
  set(${result} "${data}" PARENT_SCOPE)
endfunction()

if(MODE MATCHES "^fonts")
  if(MODE STREQUAL "fonts")
    string(CONCAT text "/* The page's fonts, cut from Debian's font packages at build time; licences in fonts/.\n"
                "   The program draws no text before they are loaded, so swapping shows nothing early. */\n")
  else()
    string(CONCAT text "/* The page's fonts inside the style sheet; licences in fonts/. */\n")
  endif()
  string(REPLACE "," ";" entries "${FONTS}")
  foreach(entry ${entries})
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 family)
    list(GET parts 1 weight)
    list(GET parts 2 file)
    if(MODE STREQUAL "fonts")
      set(source "${file}")
    else()
      base64(${SITE}/${file} data)
      set(source "data:font/woff2;base64,${data}")
    endif()
    string(APPEND text "@font-face {\n  font-family: \"${family}\";\n  font-weight: ${weight};\n"
                       "  src: url(\"${source}\") format(\"woff2\");\n"
                       "  font-display: swap;\n}\n")
  endforeach()
elseif(MODE STREQUAL "wasm")
  base64(${WASM} data)
  set(text "// The program's WebAssembly inside a script.\n"
           "Module.wasmBinary = Uint8Array.from(atob('${data}'), function (c) {\n"
           "  return c.charCodeAt(0);\n});\n")
endif()
file(WRITE ${OUTPUT} "${text}")
