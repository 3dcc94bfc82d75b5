// Aklas, the classroom: a hundred-field and timed table lessons, opened from the
// drill's red light.
#pragma once

#include "toolkit/form.h"

class Program;

class Aklas : public tk::Form {
public:
  explicit Aklas(Program &program);

private:
  Program &program_;
};

const tk::FormDesign &classroomDesign();
