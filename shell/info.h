// frminfo, the information screen: who made the program. Its progress bar runs for
// about eleven seconds in the status bar, and then it ends the program.
#pragma once

#include "toolkit/form.h"

#include <cstdint>

class Program;

class Frminfo : public tk::Form {
public:
  explicit Frminfo(Program &program);

  void Form_Load();
  void Form_Activate();
  void Timer1_Timer();
  void toonvoortgang(bool tonen);

private:
  Program &program_;
  std::int32_t tikken = 0;

  tk::Control &ProgressBar1;
  tk::Control &StatusBar1;
  tk::Control &lblgeld;
  tk::Timer &Timer1;
};

const tk::FormDesign &infoDesign();
