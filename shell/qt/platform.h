// Which of Qt's window-system platforms the program runs on.
#pragma once

namespace qtb {

// Every screen keeps its designed place and frame only where a program may place its
// own windows. On a Wayland desktop that also offers an X display (XWayland) the
// program therefore runs as an X client, unless the user chose a platform (the
// QT_QPA_PLATFORM variable or -platform). Call it before the QApplication is made.
void preferPlaceableWindows(int argc, const char *const argv[]);

} // namespace qtb
