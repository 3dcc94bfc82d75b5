// Libraries of Windows' own that the program loads when it first needs them, not at its start.
#pragma once

#include <windows.h>

namespace w32 {

// From Windows' own folder, or from the side-by-side assembly the program's manifest names
// (the common controls' version 6): a DLL of the same name beside the program or in the
// current folder is never loaded in its place.
inline HMODULE systemLibrary(const wchar_t *name) {
  return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

template <class Function> Function *exported(HMODULE dll, const char *name) {
  return reinterpret_cast<Function *>(reinterpret_cast<void (*)()>(GetProcAddress(dll, name)));
}

} // namespace w32
