# Writes the service worker OUTPUT from TEMPLATE with the files of the site SITE it keeps
# (FILES, absolute paths separated by commas) and its version: a hash of their contents and
# of the worker's own text, so that any change to the site gives a new worker.
#   cmake -DSITE=site -DFILES=a,b -DTEMPLATE=service-worker.js.in -DOUTPUT=... -P ...
string(REPLACE "," ";" files "${FILES}")
list(SORT files)
file(SHA256 ${TEMPLATE} listing)
string(APPEND listing "\n")
set(FILES "")
foreach(file ${files})
  file(RELATIVE_PATH name ${SITE} ${file})
  file(SHA256 ${file} hash)
  string(APPEND listing "${hash} ${name}\n")
  string(APPEND FILES "  '${name}',\n")
endforeach()
string(SHA256 version "${listing}")
string(SUBSTRING ${version} 0 16 VERSION)
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
