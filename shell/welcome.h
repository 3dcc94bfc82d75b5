// frmmecenaat1, the welcome screen: the program's name and the start button.
#pragma once

#include "toolkit/form.h"

class Program;

class Frmmecenaat1 : public tk::Form {
public:
  explicit Frmmecenaat1(Program &program);

  void Form_Load();
  void Form_Activate();
  void cmdkombinnen_Click();

private:
  // Centres the window on the display; as a child window it lands by the main
  // window's frame and menu lower and further right than the display's centre.
  void plaats();

  Program &program_;
  tk::Control &Frame1;
  tk::Control &cmdkombinnen;
};

const tk::FormDesign &welcomeDesign();
