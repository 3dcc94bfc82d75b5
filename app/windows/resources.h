// The ids of the Windows program's own resources, shared by the resource script and the
// code that loads them.
#pragma once

// The program's icon: the lowest id, so that Explorer and the Start menu show it.
#define HONDERDTAFELS_ICON 1
