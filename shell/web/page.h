// The page's side of the web backend: a small, flat library of named JavaScript
// functions (library.js) that owns the page's elements. The backend calls these; the
// page calls back through the web_* functions of backend.cpp. Handles are the small
// numbers the backend gives its windows and controls; texts are UTF-8; colours and
// fonts are CSS values.
#pragma once

extern "C" {

// Windows. kind: "main", "child" or "window". edge and title are the frame's pixels.
// name: what a screen reader calls the window.
void page_window_create(int window, const char *form, const char *kind, const char *caption,
                        int width, int height, int edge, int title, const char *name,
                        const char *back, const char *font);
void page_window_destroy(int window);
void page_window_show(int window, int visible);
void page_window_move(int window, int left, int top);
void page_window_raise(int window);
void page_window_enable(int window, int enabled);
// Gives the keyboard to the window: its control that has the focus, else the window.
void page_window_focus(int window, int control);

// The main window's menu bar: a menu (parent 0) or an item of a menu.
void page_menu_add(int window, int menu, int parent, const char *name, const char *text);
void page_menu_update(int menu, const char *text, int visible, int enabled);

// Controls. kind: "label", "textbox", "button", "frame", "picturebox", "image", "shape",
// "line", "statusbar", "progressbar". flags: blank-separated words the page styles by.
// tabIndex: the place in the Tab key's order from 1, or 0 for a control Tab passes by.
// picture: the address of the control's picture (pictures.h), or empty.
void page_control_create(int window, int control, const char *kind, const char *name, int stacking,
                         int tabIndex, const char *font, const char *align, const char *flags,
                         const char *picture);
// Puts the control last into its container (0: the window's client area).
void page_control_container(int control, int container);
void page_control_place(int control, int left, int top, int width, int height);
void page_control_line(int control, int x1, int y1, int x2, int y2);
void page_control_text(int control, const char *text);
// A label's lines: cleared, then each placed at its pixel offset, as the toolkit laid them out.
void page_label_clear(int control);
void page_label_line(int control, const char *text, const char *after, int left, int top);
void page_control_colors(int control, const char *back, const char *fore, int borderPixels);
void page_control_visible(int control, int visible);
void page_control_enable(int control, int enabled);
void page_control_focus(int control);
void page_control_locked(int control, int locked);
// Types text into a text box where its caret is, over its selection; returns the box's
// whole text, in memory the caller frees.
char *page_text_insert(int control, const char *text);
void page_control_progress(int control, double min, double max, double value);
void page_control_accessible(int control, const char *role, const char *name,
                             const char *description, const char *tooltip);
// Status bars: the number of panels, then each panel. style: "text", "date", "time".
void page_status_panels(int control, int count);
void page_status_panel(int control, int part, int left, int top, int right, int bottom,
                       const char *style, const char *text);

// The one timer that drives the toolkit's timers; it calls web_timer when it runs out.
void page_timer_arm(double milliseconds);
void page_timer_stop();

// Services.
void page_message_box(const char *text, const char *title); // waits (Asyncify)
void page_post_tab(); // calls web_tab once the running event has returned
void page_focus_ring(const char *outer, const char *inner, int pixels);
// The colours of the 3-D edges, of a disabled button's caption, the place of a frame's
// caption, the corners of rounded shapes and the room round a status panel's text, in pixels.
void page_edges(const char *light, const char *shadow, const char *dark, const char *disabled,
                double captionIndent, double captionPadding, double cornerRadius, int panelTextLeft,
                int panelTextRight);
// One 3-D edge, named "raised", "pressed", "sunken", "etched" or "thin": the colours of its
// border and the shadows inside it (--NAME-edge and --NAME-inside in page.css).
void page_edge(const char *name, const char *border, const char *inside);
double page_display_width();  // the viewport's CSS pixels
double page_display_height(); // the viewport's CSS pixels
// The whole display drawn larger or smaller by `scale`, as one; with a line that asks the
// child to turn the screen, unless `advice` is empty.
void page_display_scale(double scale, const char *advice);
// The main window's menu bar is this many pixels high.
void page_menu_bar(int pixels);
double page_text_width(const char *text, const char *font);
void page_end();
// Whether the page is a window of its own (an installed app), not a browser's tab.
int page_in_app_window();
// Asks the browser to close the page's window; whether it will.
int page_close_window();
// A button in the middle of the empty page that loads the page afresh, with the keyboard.
void page_offer_restart(const char *caption, const char *font, const char *back, const char *fore,
                        const char *picture, int width, int height);
// Listens to the viewport's size and the page's visibility: calls web_hidden with the
// state at once, then web_display_changed and web_hidden at each change.
void page_listen_display();
}
