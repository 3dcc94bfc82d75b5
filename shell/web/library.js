// The page of Honderdtafels: the flat library that the web backend (backend.cpp) calls
// to mirror its windows and controls as elements, and that sends the page's events back
// through the backend's web_* functions. Every call into the program goes through
// $Page.send, which holds events back while the message box is open and after the end.
// The page decides nothing: a key goes to the program as the browser reported it, and
// the program answers whether the browser's own handling of it goes ahead.

mergeInto(LibraryManager.library, {
  $Page__deps: ['$stringToNewUTF8'],
  $Page: {
    windows: {}, // handle -> {box, client, kind, form}
    elements: {}, // handle -> element of a control or menu item
    front: 10, // z-index of the window raised last
    modal: false,
    ended: false,
    timer: null,
    measure: null,
    shifts: {child: {x: 0, y: 0}, window: {x: 0, y: 0}}, // per layer of windows, see reach

    // A picture as the page shows it: decoration a screen reader passes by, and nothing a
    // finger can drag away.
    picture: function(url) {
      var img = document.createElement('img');
      img.src = url;
      img.alt = '';
      img.draggable = false;
      return img;
    },

    // The page's one timer, which runs the program's timers: a tick goes straight to the
    // program, with the same function each time the timer is set.
    tick: function() {
      Page.timer = null;
      if (Page.modal || Page.ended) return;
      _web_timer();
    },

    send: function(name) {
      if (Page.modal || Page.ended) return 0;
      return Module['_' + name].apply(null, Array.prototype.slice.call(arguments, 1));
    },
    sendText: function(name, handle, text, composing) {
      if (Page.modal || Page.ended) return;
      Module['_' + name](handle, stringToNewUTF8(text), composing); // the backend frees it
    },
    // A key going down or up on a control of the window (its handle) or the window (0),
    // with the bits of mapping.h's pageKey.
    sendKey: function(window, handle, event) {
      if (Page.modal || Page.ended) return 0;
      var flags = (event.repeat ? 1 : 0) | (event.shiftKey ? 2 : 0) | (event.ctrlKey ? 4 : 0) |
                  (event.altKey ? 8 : 0) | (event.metaKey ? 16 : 0) |
                  (event.isComposing || event.keyCode === 229 ? 32 : 0);
      var name = event.type === 'keyup' ? '_web_key_up' : '_web_key_down';
      // The backend frees both texts.
      return Module[name](window, handle, stringToNewUTF8(event.key || ''),
                          stringToNewUTF8(event.code || ''), flags);
    },
    // The page's state (its size, whether it is seen) reaches the program once the
    // message box is closed, if it changed while the box was open.
    notices: {},
    notice: function(name, value) {
      if (Page.modal) {
        Page.notices[name] = value;
        return;
      }
      Page.send(name, value);
    },
    flushNotices: function() {
      var notices = Page.notices;
      Page.notices = {};
      for (var name in notices) Page.notice(name, notices[name]);
    },
    // The first screen the build wrote into the page (first_screen.mjs) gives way to the
    // program's own elements as they are made, within the same task: the page is not drawn
    // in between, so nothing is drawn twice.
    firstScreen: true,
    dropFirstScreen: function() {
      if (!Page.firstScreen) return;
      Page.firstScreen = false;
      document.querySelectorAll('[data-first-screen]').forEach(function(e) { e.remove(); });
    },
    // The main window: its menu bar and client area, built once into the page.
    mainParts: function() {
      Page.dropFirstScreen();
      var main = document.getElementById('mdi');
      if (!main) {
        main = document.createElement('div');
        main.id = 'mdi';
        main.hidden = true;
        var bar = document.createElement('nav');
        bar.id = 'menubar';
        bar.setAttribute('role', 'menubar');
        var client = document.createElement('div');
        client.id = 'client';
        main.append(bar, client);
        document.body.prepend(main);
      }
      return {main: main, bar: document.getElementById('menubar'),
              client: document.getElementById('client')};
    },
    // Where a window of the kind stands, and what scrolls it: the main window's client
    // area, or for windows above the main window the desk, a layer over the whole page.
    // The page itself does not scroll: a mobile browser shows a page wider than the
    // screen zoomed out, or from its left edge.
    layer: function(kind) {
      if (kind === 'child') return Page.mainParts().client;
      Page.dropFirstScreen();
      var desk = document.getElementById('desk');
      if (!desk) {
        desk = document.createElement('div');
        desk.id = 'desk';
        document.body.append(desk);
      }
      return desk;
    },
    buttons: function(event) {
      // The toolkit counts left 1, right 2, middle 4; the page left 1, right 2, middle 4.
      return event.buttons & 7;
    },
    // Windows reach beyond the page where their designs are larger than it, as on a small
    // screen. Right and down the page scrolls as far as they reach; what lies left of or
    // above its edge no page can scroll to, so the windows of that layer (the child
    // windows in the main window, or the windows above it) stand further right and down by
    // as much, and the layer starts scrolled by as much: the view is the desktop's, and
    // every edge of every window can be scrolled to.
    reach: function(kind) {
      var layer = [];
      for (var handle in Page.windows) {
        if (Page.windows[handle].kind === kind) layer.push(Page.windows[handle]);
      }
      var x = 0, y = 0;
      layer.forEach(function(w) {
        if (w.box.hidden) return;
        x = Math.max(x, -w.left);
        y = Math.max(y, -w.top);
      });
      layer.forEach(function(w) {
        w.box.style.left = (w.left + x) + 'px';
        w.box.style.top = (w.top + y) + 'px';
      });
      var shift = Page.shifts[kind];
      if (shift.x === x && shift.y === y) return;
      Page.shifts[kind] = {x: x, y: y};
      Page.layer(kind).scrollTo(x, y);
    },
    // A control the program moves about at its size (the falling problem) is moved by a
    // transform from where it was placed: the compositor draws it there, and nothing of the
    // page is laid out or painted again. From its first move on it keeps a layer of its own,
    // asked for once.
    moveBy: function(element, x, y) {
      var moved = x !== 0 || y !== 0;
      element.style.transform = moved ? 'translate(' + x + 'px, ' + y + 'px)' : '';
      if (moved && !element.moves) {
        element.moves = true;
        element.style.willChange = 'transform';
      }
    },
    // The pointer over a window's client area, in the client area's pixels.
    pointerAt: function(window, client, event, buttons) {
      var r = client.getBoundingClientRect();
      Page.send('web_mouse_move', window, event.clientX - r.left, event.clientY - r.top, buttons,
                Page.shift(event));
    },
    shift: function(event) {
      return (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0) | (event.altKey ? 4 : 0);
    },
    infoIcon: '<svg viewBox="0 0 32 32" width="32" height="32" aria-hidden="true">' +
              '<circle cx="16" cy="16" r="15" fill="#1c5fc4" stroke="#0b3a80"/>' +
              '<circle cx="16" cy="8.5" r="2.4" fill="#fff"/>' +
              '<rect x="13.6" y="13" width="4.8" height="12.5" rx="1.2" fill="#fff"/></svg>',
  },

  page_window_create__deps: ['$Page'],
  page_window_create: function(window, form, kind, caption, width, height, edge, title, name, back, font) {
    form = UTF8ToString(form);
    name = UTF8ToString(name);
    kind = UTF8ToString(kind);
    caption = UTF8ToString(caption);
    var record = {kind: kind, form: form, left: 0, top: 0};
    if (kind === 'main') {
      var parts = Page.mainParts();
      parts.client.style.background = UTF8ToString(back);
      parts.main.dataset.form = form;
      document.title = caption.trim();
      record.box = parts.main;
      record.client = parts.client;
      parts.client.addEventListener('mousedown', function(event) {
        if (event.target === parts.client) Page.send('web_activate', window);
      });
      Page.windows[window] = record;
      return;
    }
    var box = document.createElement('div');
    box.className = 'window ' + kind;
    box.dataset.form = form;
    box.hidden = true;
    box.style.setProperty('--edge', edge + 'px'); // the frame's width, in page.css
    box.setAttribute('role', kind === 'window' ? 'dialog' : 'region');
    if (title > 0) {
      var bar = document.createElement('div');
      bar.className = 'titlebar';
      bar.style.height = title + 'px';
      bar.textContent = caption;
      bar.setAttribute('aria-hidden', 'true');
      box.append(bar);
    }
    if (name) box.setAttribute('aria-label', name);
    var client = document.createElement('div');
    client.className = 'client';
    client.tabIndex = -1; // the window itself takes the keys when no control has them
    // Named by its window, not by all its texts: a screen reader that comes to the window
    // itself (no control has the keyboard) says which window it is.
    client.setAttribute('role', 'group');
    if (name) client.setAttribute('aria-label', name);
    client.style.width = width + 'px';
    client.style.height = height + 'px';
    client.style.background = UTF8ToString(back);
    client.style.font = UTF8ToString(font);
    box.append(client);
    record.box = box;
    record.client = client;
    // The window system's part: activation, the pointer over the client area, and the
    // keys that reach the window itself rather than one of its controls.
    box.addEventListener('mousedown', function() { Page.send('web_activate', window); }, true);
    // A mouse, or a pen held above the screen, reports where it goes. A finger cannot
    // hover: where it comes down is reported as the pointer coming there, once, before
    // the press, so that a tap shows what hovering there shows, already while the finger
    // is down (a pen may not hover either; for one that did, it is the same place
    // again). The mouse moves a browser imitates for a tap are not listened to: they
    // come only when the finger lifts, and the tap would count twice.
    client.addEventListener('pointermove', function(event) {
      if (event.pointerType !== 'touch') Page.pointerAt(window, client, event, Page.buttons(event));
    });
    client.addEventListener('pointerdown', function(event) {
      if (event.pointerType !== 'mouse') Page.pointerAt(window, client, event, 0);
    });
    // Where the keyboard went, by Tab, a click or the program (a control or the window),
    // and the keys it gives there.
    var target = function(event) {
      return event.target === client ? 0 : Number(event.target.dataset.handle || 0);
    };
    box.addEventListener('focusin', function(event) {
      Page.send('web_focus', window, target(event));
    });
    var key = function(event) {
      if (Page.sendKey(window, target(event), event)) event.preventDefault();
    };
    box.addEventListener('keydown', key);
    box.addEventListener('keyup', key);
    Page.layer(kind).append(box);
    Page.windows[window] = record;
  },

  page_window_destroy__deps: ['$Page'],
  page_window_destroy: function(window) {
    var record = Page.windows[window];
    if (!record) return;
    delete Page.windows[window];
    record.client.querySelectorAll('[data-handle]').forEach(function(e) {
      delete Page.elements[Number(e.dataset.handle)];
    });
    if (record.kind === 'main') {
      record.box.hidden = true;
      Page.mainParts().bar.replaceChildren();
    } else {
      record.box.remove();
      Page.reach(record.kind);
    }
  },

  page_window_show__deps: ['$Page'],
  page_window_show: function(window, visible) {
    var record = Page.windows[window];
    if (!record) return;
    record.box.hidden = !visible;
    if (record.kind !== 'main') Page.reach(record.kind);
  },

  page_window_move__deps: ['$Page'],
  page_window_move: function(window, left, top) {
    var record = Page.windows[window];
    if (!record || record.kind === 'main') return;
    record.left = left;
    record.top = top;
    Page.reach(record.kind);
  },

  page_window_raise__deps: ['$Page'],
  page_window_raise: function(window) {
    var record = Page.windows[window];
    if (!record || record.kind === 'main') return;
    record.box.style.zIndex = ++Page.front;
    document.querySelectorAll('.window.active').forEach(function(w) { w.classList.remove('active'); });
    record.box.classList.add('active');
  },

  page_window_enable__deps: ['$Page'],
  page_window_enable: function(window, enabled) {
    var record = Page.windows[window];
    if (record) record.box.inert = !enabled;
  },

  page_window_focus__deps: ['$Page'],
  page_window_focus: function(window, control) {
    var record = Page.windows[window];
    if (!record || record.kind === 'main' || record.box.hidden) return;
    var element = Page.elements[control];
    var target = element && !element.disabled && element.getClientRects().length ? element : record.client;
    target.focus({preventScroll: true});
  },

  page_menu_add__deps: ['$Page', 'page_menu_update'],
  page_menu_add: function(window, menu, parent, name, text) {
    var bar = Page.mainParts().bar;
    var element;
    if (parent === 0) {
      var holder = document.createElement('div');
      holder.className = 'menu';
      element = document.createElement('button');
      element.className = 'menutitle';
      element.setAttribute('role', 'menuitem');
      element.setAttribute('aria-haspopup', 'true');
      element.setAttribute('aria-expanded', 'false');
      var list = document.createElement('div');
      list.className = 'menulist';
      list.setAttribute('role', 'menu');
      list.hidden = true;
      holder.append(element, list);
      bar.append(holder);
      var open = function(shown) {
        list.hidden = !shown;
        element.setAttribute('aria-expanded', String(shown));
      };
      element.addEventListener('click', function() {
        open(list.hidden);
        if (!list.hidden && list.firstChild) list.firstChild.focus();
      });
      holder.addEventListener('focusout', function(event) {
        if (!holder.contains(event.relatedTarget)) open(false);
      });
      holder.addEventListener('keydown', function(event) {
        if (event.key === 'Escape') { open(false); element.focus(); }
      });
      element.closeMenu = function() { open(false); };
    } else {
      var title = Page.elements[parent];
      element = document.createElement('button');
      element.className = 'menuitem';
      element.setAttribute('role', 'menuitem');
      element.addEventListener('click', function() {
        title.closeMenu();
        Page.send('web_click', menu);
      });
      title.nextSibling.append(element);
    }
    element.dataset.name = UTF8ToString(name);
    element.dataset.handle = menu;
    Page.elements[menu] = element;
    _page_menu_update(menu, text, 1, 1);
  },

  page_menu_update__deps: ['$Page'],
  page_menu_update: function(menu, text, visible, enabled) {
    var element = Page.elements[menu];
    if (!element) return;
    // "&B" marks the access key: the letter is underlined and Alt+letter chooses it.
    var caption = UTF8ToString(text);
    var at = caption.search(/&[^&]/);
    element.replaceChildren();
    if (at >= 0) {
      var key = document.createElement('u');
      key.textContent = caption[at + 1];
      element.append(caption.slice(0, at), key, caption.slice(at + 2));
      element.accessKey = caption[at + 1].toLowerCase();
    } else {
      element.textContent = caption;
    }
    element.hidden = !visible;
    element.disabled = !enabled;
  },

  page_control_create__deps: ['$Page'],
  page_control_create: function(window, control, kind, name, stacking, tabIndex, font, align, flags, picture) {
    kind = UTF8ToString(kind);
    var pictureUrl = UTF8ToString(picture);
    var element;
    switch (kind) {
    case 'textbox':
      element = document.createElement('input');
      element.type = 'text';
      element.autocomplete = 'off';
      element.spellcheck = false;
      // No on-screen keyboard capitalises or corrects what a child types.
      element.setAttribute('autocapitalize', 'off');
      element.setAttribute('autocorrect', 'off');
      // The text as the child edits it, and whether an input method is still composing it.
      element.addEventListener('input', function(event) {
        Page.sendText('web_input', control, element.value, event.isComposing ? 1 : 0);
      });
      element.addEventListener('compositionend', function() {
        Page.sendText('web_input', control, element.value, 0);
      });
      break;
    case 'button':
      element = document.createElement('button');
      element.type = 'button';
      if (pictureUrl) element.append(Page.picture(pictureUrl));
      var caption = document.createElement('span');
      caption.className = 'caption';
      element.append(caption);
      element.addEventListener('click', function() { Page.send('web_click', control); });
      break;
    case 'image':
      element = Page.picture(pictureUrl);
      break;
    case 'picturebox':
      element = document.createElement('div');
      if (pictureUrl) {
        var inside = Page.picture(pictureUrl);
        inside.className = 'picture';
        element.append(inside);
      }
      break;
    case 'frame':
      element = document.createElement('div');
      var border = document.createElement('div');
      border.className = 'frameborder';
      var legend = document.createElement('span');
      legend.className = 'caption';
      element.append(border, legend);
      break;
    case 'line':
      element = document.createElementNS('http://www.w3.org/2000/svg', 'svg');
      element.append(document.createElementNS('http://www.w3.org/2000/svg', 'line'));
      break;
    case 'progressbar':
      element = document.createElement('progress');
      break;
    default: // label, shape, statusbar
      element = document.createElement('div');
    }
    element.classList.add('control', kind);
    flags = UTF8ToString(flags);
    if (flags) element.classList.add.apply(element.classList, flags.split(' '));
    // Tab itself goes by the window's order; the browser only learns which controls it visits.
    if (kind === 'button' || kind === 'textbox') element.tabIndex = tabIndex > 0 ? 0 : -1;
    if (tabIndex > 0) element.dataset.tab = tabIndex;
    if (element.classList.contains('digits')) {
      element.setAttribute('inputmode', 'numeric'); // a tablet's keyboard shows its number pad
    }
    element.dataset.name = UTF8ToString(name);
    element.dataset.handle = control;
    element.style.zIndex = stacking;
    element.style.font = UTF8ToString(font);
    element.style.textAlign = UTF8ToString(align);
    Page.elements[control] = element;
    element.windowHandle = window;
  },

  page_control_container__deps: ['$Page'],
  page_control_container: function(control, container) {
    var element = Page.elements[control];
    if (!element) return;
    var parent = container ? Page.elements[container] : Page.windows[element.windowHandle].client;
    parent.append(element);
  },

  page_control_place__deps: ['$Page'],
  page_control_place: function(control, left, top, width, height) {
    var element = Page.elements[control];
    if (!element) return;
    var placed = element.placed;
    if (placed && placed.width === width && placed.height === height) {
      Page.moveBy(element, left - placed.left, top - placed.top);
      return;
    }
    element.placed = {left: left, top: top, width: width, height: height};
    element.style.transform = '';
    element.style.left = left + 'px';
    element.style.top = top + 'px';
    element.style.width = width + 'px';
    element.style.height = height + 'px';
  },

  page_control_line__deps: ['$Page'],
  page_control_line: function(control, x1, y1, x2, y2) {
    var element = Page.elements[control];
    if (!element) return;
    var left = Math.min(x1, x2), top = Math.min(y1, y2);
    element.style.left = left + 'px';
    element.style.top = top + 'px';
    element.setAttribute('width', Math.abs(x2 - x1) + 1);
    element.setAttribute('height', Math.abs(y2 - y1) + 1);
    var line = element.firstChild;
    line.setAttribute('x1', x1 - left + 0.5);
    line.setAttribute('y1', y1 - top + 0.5);
    line.setAttribute('x2', x2 - left + 0.5);
    line.setAttribute('y2', y2 - top + 0.5);
  },

  page_control_text__deps: ['$Page'],
  page_control_text: function(control, text) {
    var element = Page.elements[control];
    if (!element) return;
    text = UTF8ToString(text);
    if (element.tagName === 'INPUT') {
      if (element.value !== text) element.value = text; // the caret stays while typing
    } else if (element.classList.contains('button') || element.classList.contains('frame')) {
      element.querySelector('.caption').textContent = text;
      element.classList.toggle('nocaption', text === '');
    }
  },

  page_label_clear__deps: ['$Page'],
  page_label_clear: function(control) {
    var element = Page.elements[control];
    if (element) element.replaceChildren();
  },

  // One line of a label where the program laid it out; what ended it stays in the text
  // for a screen reader, out of sight.
  page_label_line__deps: ['$Page'],
  page_label_line: function(control, text, after, left, top) {
    var element = Page.elements[control];
    if (!element) return;
    var line = document.createElement('span');
    line.className = 'line';
    line.textContent = UTF8ToString(text);
    line.style.left = left + 'px';
    line.style.top = top + 'px';
    element.append(line);
    after = UTF8ToString(after);
    if (after) {
      var rest = document.createElement('span');
      rest.className = 'rest';
      rest.textContent = after;
      element.append(rest);
    }
  },

  page_control_colors__deps: ['$Page'],
  page_control_colors: function(control, back, fore, borderPixels) {
    var element = Page.elements[control];
    if (!element) return;
    back = UTF8ToString(back);
    fore = UTF8ToString(fore);
    // A label takes its colours as its own properties, not as custom ones: the falling
    // problem, a label, has its style worked out afresh at each of its moves, and custom
    // properties of its own make that dearer. Nothing inside a label asks for them, and a
    // transparent label keeps no background.
    if (element.classList.contains('label')) {
      element.style.color = fore;
      if (!element.classList.contains('transparent')) element.style.backgroundColor = back;
      return;
    }
    element.style.setProperty('--back', back);
    element.style.setProperty('--fore', fore);
    if (element.classList.contains('shape')) element.style.borderWidth = borderPixels + 'px';
  },

  page_control_visible__deps: ['$Page'],
  page_control_visible: function(control, visible) {
    var element = Page.elements[control];
    if (!element) return;
    if (visible) element.removeAttribute('hidden'); else element.setAttribute('hidden', '');
  },

  page_control_enable__deps: ['$Page'],
  page_control_enable: function(control, enabled) {
    var element = Page.elements[control];
    if (!element) return;
    if ('disabled' in element) element.disabled = !enabled;
    element.classList.toggle('disabled', !enabled);
  },

  page_control_focus__deps: ['$Page'],
  page_control_focus: function(control) {
    var element = Page.elements[control];
    if (!element) return;
    var box = Page.windows[element.windowHandle].box;
    // A window in front gives its control the keyboard at once; another one keeps it for
    // the moment it comes to the front.
    if (box.classList.contains('active') || box.classList.contains('child')) {
      element.focus({preventScroll: true});
    }
  },

  page_control_locked__deps: ['$Page'],
  page_control_locked: function(control, locked) {
    var element = Page.elements[control];
    if (element && element.tagName === 'INPUT') element.readOnly = !!locked;
  },

  page_text_insert__deps: ['$Page', '$stringToNewUTF8'],
  page_text_insert: function(control, text) {
    var element = Page.elements[control];
    if (!element || element.tagName !== 'INPUT') return stringToNewUTF8('');
    element.setRangeText(UTF8ToString(text), element.selectionStart, element.selectionEnd, 'end');
    return stringToNewUTF8(element.value);
  },

  page_control_progress__deps: ['$Page'],
  page_control_progress: function(control, min, max, value) {
    var element = Page.elements[control];
    if (!element) return;
    element.max = Math.max(max - min, 0);
    element.value = Math.min(Math.max(value - min, 0), element.max);
  },

  page_control_accessible__deps: ['$Page'],
  page_control_accessible: function(control, role, name, description, tooltip) {
    var element = Page.elements[control];
    if (!element) return;
    role = UTF8ToString(role);
    name = UTF8ToString(name);
    description = UTF8ToString(description);
    tooltip = UTF8ToString(tooltip);
    // Decoration is hidden from screen readers; the rest is named from the same design
    // data as on the desktop, following the current caption and description.
    if (role === 'hidden') {
      element.setAttribute('aria-hidden', 'true');
      element.removeAttribute('role');
    } else if (role) {
      element.setAttribute('role', role);
    } else {
      element.removeAttribute('role');
    }
    if (name) element.setAttribute('aria-label', name); else element.removeAttribute('aria-label');
    if (description) element.setAttribute('aria-description', description);
    else element.removeAttribute('aria-description');
    if (tooltip) element.title = tooltip;
  },

  page_status_panels__deps: ['$Page'],
  page_status_panels: function(control, count) {
    var element = Page.elements[control];
    if (!element) return;
    var panels = element.querySelectorAll(':scope > .panel');
    for (var i = panels.length; i < count; ++i) {
      var panel = document.createElement('div');
      panel.className = 'panel';
      element.append(panel);
    }
  },

  page_status_panel__deps: ['$Page'],
  page_status_panel: function(control, part, left, top, right, bottom, style, text) {
    var element = Page.elements[control];
    if (!element) return;
    var panel = element.querySelectorAll(':scope > .panel')[part];
    panel.style.left = left + 'px';
    panel.style.top = top + 'px';
    panel.style.width = (right - left) + 'px';
    panel.style.height = (bottom - top) + 'px';
    panel.dataset.style = UTF8ToString(style);
    panel.textContent = UTF8ToString(text);
  },

  page_timer_arm__deps: ['$Page'],
  page_timer_arm: function(milliseconds) {
    clearTimeout(Page.timer);
    Page.timer = setTimeout(Page.tick, milliseconds);
  },

  page_timer_stop__deps: ['$Page'],
  page_timer_stop: function() {
    clearTimeout(Page.timer);
    Page.timer = null;
  },

  // The screens' handler waits for the OK: Asyncify suspends the program here and
  // resumes it when the dialog closes. Until then no event reaches the program.
  page_message_box__deps: ['$Page', '$Asyncify'],
  page_message_box: function(text, title) {
    text = UTF8ToString(text);
    title = UTF8ToString(title);
    return Asyncify.handleSleep(function(wakeUp) {
      var returnFocus = document.activeElement;
      var dialog = document.createElement('dialog');
      dialog.className = 'messagebox';
      dialog.setAttribute('aria-labelledby', 'messagebox-title');
      dialog.setAttribute('aria-describedby', 'messagebox-text');
      dialog.innerHTML = '<div class="titlebar" id="messagebox-title"></div>' +
                         '<div class="body">' + Page.infoIcon + '<p id="messagebox-text"></p></div>' +
                         '<div class="buttons"><button type="button" autofocus>OK</button></div>';
      dialog.querySelector('.titlebar').textContent = title;
      dialog.querySelector('p').textContent = text;
      var closed = false;
      var close = function() {
        if (closed) return;
        closed = true;
        dialog.remove();
        Page.modal = false;
        if (returnFocus && returnFocus.isConnected) returnFocus.focus({preventScroll: true});
        wakeUp();
        setTimeout(Page.flushNotices, 0); // once the program's handler has returned
      };
      // OK gives the keyboard back within its own tap or click: a tablet shows its
      // on-screen keyboard again only for a focus given then, not after the close event.
      dialog.querySelector('button').addEventListener('click', function() {
        dialog.close();
        close();
      });
      dialog.addEventListener('close', close); // Escape
      Page.modal = true;
      document.body.append(dialog);
      dialog.showModal();
      dialog.querySelector('button').focus();
    });
  },

  page_post_tab__deps: ['$Page'],
  page_post_tab: function() {
    setTimeout(function() { Page.send('web_tab'); }, 0);
  },

  // The mark of the control that has the keyboard, for every button and text box.
  page_focus_ring: function(outer, inner, pixels) {
    var root = document.documentElement.style;
    root.setProperty('--focus-outer', UTF8ToString(outer));
    root.setProperty('--focus-inner', UTF8ToString(inner));
    root.setProperty('--focus-pixels', pixels + 'px');
  },

  page_edges: function(light, shadow, dark, disabled, captionIndent, captionPadding, radius,
                       panelLeft, panelRight) {
    var root = document.documentElement.style;
    root.setProperty('--light', UTF8ToString(light));
    root.setProperty('--shadow', UTF8ToString(shadow));
    root.setProperty('--dark', UTF8ToString(dark));
    root.setProperty('--disabled', UTF8ToString(disabled));
    root.setProperty('--frame-caption-indent', captionIndent + 'px');
    root.setProperty('--frame-caption-padding', captionPadding + 'px');
    root.setProperty('--corner-radius', radius + 'px');
    root.setProperty('--panel-text-left', panelLeft + 'px');
    root.setProperty('--panel-text-right', panelRight + 'px');
  },

  page_edge: function(name, border, inside) {
    var root = document.documentElement.style;
    root.setProperty('--' + UTF8ToString(name) + '-edge', UTF8ToString(border));
    root.setProperty('--' + UTF8ToString(name) + '-inside', UTF8ToString(inside));
  },

  page_display_width: function() {
    return document.documentElement.clientWidth;
  },

  page_display_height: function() {
    return document.documentElement.clientHeight;
  },

  // The display is the viewport drawn larger or smaller as one (page.css): the windows
  // keep their pixels, and pictures and texts are drawn afresh at the scale, not stretched.
  page_display_scale: function(scale, advice) {
    document.documentElement.style.setProperty('--scale', String(scale));
    advice = UTF8ToString(advice);
    var line = document.getElementById('turn');
    if (!advice) {
      if (line) line.remove();
      return;
    }
    if (!line) {
      line = document.createElement('p');
      line.id = 'turn';
      line.setAttribute('role', 'status');
      document.body.append(line);
    }
    line.textContent = advice;
  },

  page_menu_bar: function(pixels) {
    document.documentElement.style.setProperty('--menubar', pixels + 'px');
  },

  page_text_width__deps: ['$Page'],
  page_text_width: function(text, font) {
    if (!Page.measure) Page.measure = document.createElement('canvas').getContext('2d');
    Page.measure.font = UTF8ToString(font);
    return Page.measure.measureText(UTF8ToString(text)).width;
  },

  // Every window closes; the page stays, bare, and takes no more events.
  page_end__deps: ['$Page'],
  page_end: function() {
    Page.ended = true;
    clearTimeout(Page.timer);
    document.querySelectorAll('.window').forEach(function(w) { w.remove(); });
    Page.mainParts().main.remove();
    Page.windows = {};
    Page.elements = {};
    document.body.dataset.ended = 'true';
  },

  page_in_app_window: function() {
    return matchMedia('(display-mode: browser)').matches ? 0 : 1;
  },

  page_close_window: function() {
    window.close();
    return window.closed ? 1 : 0;
  },

  page_offer_restart: function(caption, font, back, fore, picture, width, height) {
    var button = document.createElement('button');
    button.type = 'button';
    button.className = 'restart control button pictureontop';
    button.dataset.name = 'restart';
    var pictureUrl = UTF8ToString(picture);
    if (pictureUrl) button.append(Page.picture(pictureUrl));
    var text = document.createElement('span');
    text.className = 'caption';
    text.textContent = UTF8ToString(caption);
    button.append(text);
    button.style.font = UTF8ToString(font);
    button.style.setProperty('--back', UTF8ToString(back));
    button.style.setProperty('--fore', UTF8ToString(fore));
    button.style.width = width + 'px';
    button.style.height = height + 'px';
    button.addEventListener('click', function() { location.reload(); });
    document.body.append(button);
    button.focus();
  },

  page_listen_display__deps: ['$Page'],
  page_listen_display: function() {
    addEventListener('resize', function() { Page.notice('web_display_changed'); });
    var seen = function() { Page.notice('web_hidden', document.hidden ? 1 : 0); };
    document.addEventListener('visibilitychange', seen);
    seen();
  },
});
