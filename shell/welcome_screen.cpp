#include "welcome.h"

#include "program.h"

Frmmecenaat1::Frmmecenaat1(Program &program)
    : Form(program.desktop(), welcomeDesign()), program_(program), Frame1(control("Frame1", 1)),
      cmdkombinnen(control("cmdkombinnen")) {
  onLoad = [this] { Form_Load(); };
  onActivate = [this] { Form_Activate(); };
  cmdkombinnen.onClick = [this] { cmdkombinnen_Click(); };
}

void Frmmecenaat1::Form_Load() {
  plaats();
}

void Frmmecenaat1::Form_Activate() {
  plaats();
}

void Frmmecenaat1::plaats() {
  centreOnDisplay();
  Frame1.show();
}

void Frmmecenaat1::cmdkombinnen_Click() {
  program_.openDrill();
}
