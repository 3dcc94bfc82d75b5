// The first screen as the build wrote it into the page (first_screen.mjs), placed for this
// viewport before the page is first drawn, by the program's own rule (the toolkit's
// scale.cpp and its centring of a window on the display): the display's scale, and each
// window centred on it, and the advice to turn an upright phone. The program replaces the
// windows with its own as it starts.
var firstScreen = {
  // The largest scale at which every window is whole in the viewport, in steps beyond 1,
  // and whether an upright phone should be turned; in the toolkit's single precision.
  scale: function (rule, width, height) {
    var f = Math.fround;
    function fitting(w, h) {
      var scale = Infinity;
      rule.rooms.forEach(function (room) {
        scale = Math.min(scale, f(w / room[0]), f(h / room[1]));
      });
      return isFinite(scale) ? scale : 1;
    }
    function stepped(scale) {
      return scale < 1 ? scale : Math.floor(f(scale / rule.step)) * rule.step;
    }
    var scale = stepped(fitting(width, height));
    var turn = height > width && f(rule.smallest * scale) < rule.legible &&
               stepped(fitting(height, width)) > scale;
    return {scale: scale, turn: turn};
  },
  // Where a window of the outer size (in twips) stands, centred on the display, in the
  // page's pixels before the display's scale, rounded half away from zero as the program
  // rounds.
  centred: function (rule, viewport, scale, outer) {
    var f = Math.fround;
    var twips = f(rule.twips / scale);
    var at = f(f(f(viewport * twips) - outer) * 0.5) / rule.twips;
    return at < 0 ? -Math.round(-at) : Math.round(at);
  },
  place: function (rule) {
    var root = document.documentElement;
    var width = root.clientWidth, height = root.clientHeight;
    var fit = firstScreen.scale(rule, width, height), scale = fit.scale;
    root.style.setProperty('--scale', String(scale));
    // The advice to turn the phone, as the program shows it (library.js), which keeps it.
    if (fit.turn) {
      var line = document.createElement('p');
      line.id = 'turn';
      line.setAttribute('role', 'status');
      line.textContent = rule.advice;
      document.body.append(line);
    }
    for (var name in rule.root) root.style.setProperty(name, rule.root[name]);
    // A window larger than the display reaches beyond its left or top edge: its layer
    // stands shifted and starts scrolled by as much, as the program's page does it.
    rule.windows.forEach(function (form) {
      var box = document.querySelector('[data-first-form="' + form + '"]');
      var left = firstScreen.centred(rule, width, scale, rule.outer[form][0]);
      var top = firstScreen.centred(rule, height, scale, rule.outer[form][1]);
      var x = Math.max(0, -left), y = Math.max(0, -top);
      box.style.left = (left + x) + 'px';
      box.style.top = (top + y) + 'px';
      if (x || y) box.parentNode.scrollTo(x, y);
    });
  },
};
if (typeof module !== 'undefined') module.exports = firstScreen;
