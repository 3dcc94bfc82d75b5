// The program's screens, one instance each, created on first use, and the ways
// between them.
#pragma once

#include "classroom/classroom.h"
#include "drill/drill.h"
#include "shell/info.h"
#include "shell/mainwindow.h"
#include "shell/welcome.h"
#include "toolkit/screen.h"

#include <span>

class Program {
public:
  explicit Program(tk::Desktop &desktop);

  // Loads the main window, whose load shows the welcome screen, and shows it.
  void start();
  // The start button and the menu item "&Basis" open the drill in these three steps.
  void openDrill();

  [[nodiscard]] tk::Desktop &desktop() const { return desktop_; }
  [[nodiscard]] tk::Services &services() const { return desktop_.services(); }

  tk::Screen<MDIForm2> mdiForm2;
  tk::Screen<Frmmecenaat1> frmmecenaat1;
  tk::Screen<Frminfo> frminfo;
  tk::Screen<Tafels> tafels;
  tk::Screen<Aklas> aklas;

private:
  tk::Desktop &desktop_;
};

// The designs of every window the program shows, for the display's scale.
[[nodiscard]] std::span<const tk::FormDesign *const> windowDesigns();
