// frminfo, the information screen: who made the program; it ends the program.
#pragma once

#include "toolkit/form.h"

class Program;

class Frminfo : public tk::Form {
public:
  explicit Frminfo(Program &program);

private:
  Program &program_;
};

const tk::FormDesign &infoDesign();
