#include "classroom.h"

#include "shell/program.h"

Aklas::Aklas(Program &program) : Form(program.desktop(), classroomDesign()), program_(program) {}
