@echo off
rem Honderdtafels on IIS: lets IIS's static compression take every type of the page that
rem compresses. Once per server, in a command prompt or PowerShell run as administrator:
rem
rem     .\iis-compression.cmd
rem
rem IIS compresses a static file only when its Content-Type is in the server's list. It may
rem hold the whole type against the list, charset included, and then the list's
rem "application/javascript" does not take the "application/javascript; charset=utf-8" that
rem the page's web.config sends. So each type goes in as web.config sends it and without its
rem charset: whichever way IIS matches, one entry takes it. The list's own "text/*" takes
rem text/html, text/css and text/plain, with their charset or without.
rem An entry the list has already is refused ("duplicate collection entry") and left as it is.
set appcmd=%windir%\system32\inetsrv\appcmd.exe
for %%t in ("application/wasm" "application/javascript; charset=utf-8" "application/manifest+json" "application/manifest+json; charset=utf-8" "image/svg+xml" "image/svg+xml; charset=utf-8") do (
  "%appcmd%" set config -section:system.webServer/httpCompression /+"staticTypes.[mimeType='%%~t',enabled='true']" /commit:apphost
)
