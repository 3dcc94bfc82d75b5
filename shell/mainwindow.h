// MDIForm2, the main window: the frame around the whole program, with its menu.
#pragma once

#include "toolkit/form.h"

class Program;

class MDIForm2 : public tk::Form {
public:
  explicit MDIForm2(Program &program);

  void MDIForm_Load();
  void aftrek2_Click();

private:
  Program &program_;
  tk::Control &aftrek2;
};

const tk::FormDesign &mainWindowDesign();
