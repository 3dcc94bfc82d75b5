# Writes OUTPUT, a style sheet that carries the page's fonts inside it as data: addresses,
# so that a browser also loads them from a file share (file:// addresses, from which it
# fetches no font file). FONTS holds family|weight|path-to-woff2 entries, split by commas.
#   cmake -DOUTPUT=fonts.css -DFONTS="..." -P fonts_css.cmake
set(css "/* The page's fonts, made from Debian's font packages; licences in fonts/. */\n")
string(REPLACE "," ";" entries "${FONTS}")
foreach(entry ${entries})
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 family)
  list(GET parts 1 weight)
  list(GET parts 2 file)
  execute_process(COMMAND base64 -w0 ${file} OUTPUT_VARIABLE data COMMAND_ERROR_IS_FATAL ANY)
  string(APPEND css "@font-face {\n  font-family: \"${family}\";\n  font-weight: ${weight};\n"
                    "  src: url(\"data:font/woff2;base64,${data}\") format(\"woff2\");\n}\n")
endforeach()
file(WRITE ${OUTPUT} "${css}")
