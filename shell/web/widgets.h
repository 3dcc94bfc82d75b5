// One element of the page per control, made and kept up to date by kind through the
// page's library: a label shows the lines the toolkit laid out, a status bar its panels,
// a progress bar its value.
#pragma once

#include "toolkit/form.h"

namespace web {

// Makes the control's element in the window; tabIndex is its place in the Tab key's
// order from 1, or 0 for a control Tab passes by.
void createWidget(int window, int element, const tk::Form &form, const tk::Control &control,
                  int tabIndex);
// The control's text (a label's lines) and colours.
void sync(int element, const tk::Control &control);
// Only its text, or only its colours, as one of them changes.
void syncText(int element, const tk::Control &control);
void syncColors(int element, const tk::Control &control);
void syncPanels(int element, const tk::Control &statusBar);
void syncProgress(int element, const tk::Control &progressBar);

} // namespace web
