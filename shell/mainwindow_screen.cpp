#include "mainwindow.h"

#include "program.h"

MDIForm2::MDIForm2(Program &program)
    : Form(program.desktop(), mainWindowDesign()), program_(program), aftrek2(control("aftrek2")) {
  onLoad = [this] { MDIForm_Load(); };
  aftrek2.onClick = [this] { aftrek2_Click(); };
}

void MDIForm2::MDIForm_Load() {
  program_.frmmecenaat1().show();
  program_.frminfo.unload();
}

void MDIForm2::aftrek2_Click() {
  program_.openDrill();
}
