#include "info.h"

#include "program.h"

Frminfo::Frminfo(Program &program) : Form(program.desktop(), infoDesign()), program_(program) {}
