# Writes OUTPUT from files carried inside it as base64, for a page opened from a file
# share (a file:// address), from which a browser fetches no font or WebAssembly file.
#   cmake -DMODE=fonts -DOUTPUT=fonts-inline.css -DFONTS="family|weight|file,..." -P ...
#   cmake -DMODE=wasm -DOUTPUT=honderdtafels.wasm.js -DWASM=honderdtafels.wasm -P ...
function(base64 file result)
  execute_process(COMMAND base64 -w0 ${file} OUTPUT_VARIABLE data COMMAND_ERROR_IS_FATAL ANY)
  set(${result} "${data}" PARENT_SCOPE)
endfunction()

if(MODE STREQUAL "fonts")
  set(text "/* The page's fonts inside the style sheet; licences in fonts/. */\n")
  string(REPLACE "," ";" entries "${FONTS}")
  foreach(entry ${entries})
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 family)
    list(GET parts 1 weight)
    list(GET parts 2 file)
    base64(${file} data)
    string(APPEND text "@font-face {\n  font-family: \"${family}\";\n  font-weight: ${weight};\n"
                       "  src: url(\"data:font/woff2;base64,${data}\") format(\"woff2\");\n"
                       "  font-display: swap;\n}\n")
  endforeach()
elseif(MODE STREQUAL "wasm")
  base64(${WASM} data)
  set(text "// The program's WebAssembly inside a script.\n"
           "Module.wasmBinary = Uint8Array.from(atob('${data}'), function (c) {\n"
           "  return c.charCodeAt(0);\n});\n")
endif()
file(WRITE ${OUTPUT} "${text}")
