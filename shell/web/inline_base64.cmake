# Writes the page's font style sheet, and the scripts that carry its fonts and its WebAssembly.
#   cmake -DMODE=fonts -DOUTPUT=fonts.css -DSITE=site -DFONTS="family|weight|file,..." -P ...
#   cmake -DMODE=fonts-inline -DOUTPUT=fonts-inline.js -DSITE=site -DFONTS=... -P ...
#   cmake -DMODE=wasm -DOUTPUT=honderdtafels.wasm.js -DWASM=honderdtafels.wasm -P ...
# fonts.css links the fonts' files (file names relative to SITE); the scripts fonts-inline.js
# and honderdtafels.wasm.js carry the files inside them as base64, for a page opened from a
# file share (a file:// address), from which a browser fetches no font or WebAssembly file.
# The page makes its font faces from the fonts' bytes, as it makes them from their files
# over http: a style sheet's faces are known to WebKit only some time after it loads.
function(base64 file result)
  execute_process(COMMAND base64 -w0 ${file} OUTPUT_VARIABLE data COMMAND_ERROR_IS_FATAL ANY)
  set(${result} "${data}" PARENT_SCOPE)
endfunction()

if(MODE STREQUAL "fonts")
  string(CONCAT text "/* The page's fonts, cut from Debian's font packages at build time; licences in fonts/.\n"
              "   The program draws no text before they are loaded, so swapping shows nothing early. */\n")
  string(REPLACE "," ";" entries "${FONTS}")
  foreach(entry ${entries})
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 family)
    list(GET parts 1 weight)
    list(GET parts 2 file)
    string(APPEND text "@font-face {\n  font-family: \"${family}\";\n  font-weight: ${weight};\n"
                       "  src: url(\"${file}\") format(\"woff2\");\n"
                       "  font-display: swap;\n}\n")
  endforeach()
elseif(MODE STREQUAL "fonts-inline")
  # By the file's name, as the page names each face's file.
  set(text "// The page's fonts inside a script, by file; licences in fonts/.\nvar inlineFonts = {\n")
  string(REPLACE "," ";" entries "${FONTS}")
  foreach(entry ${entries})
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 2 file)
    base64(${SITE}/${file} data)
    string(APPEND text "  '${file}': '${data}',\n")
  endforeach()
  string(APPEND text "};\n")
elseif(MODE STREQUAL "wasm")
  base64(${WASM} data)
  set(text "// The program's WebAssembly inside a script.\n"
           "Module.wasmBinary = Uint8Array.from(atob('${data}'), function (c) {\n"
           "  return c.charCodeAt(0);\n});\n")
endif()
file(WRITE ${OUTPUT} "${text}")
