// The keyboard, the mouse, its wheel and touch, handed to the game's input entry points as the
// desktop's loop hands them. Keys with Ctrl, Alt or Meta, and F5, F11 and F12, stay the
// browser's (reload, zoom, fullscreen, its tools). The first key, click or touch also lets sound
// start, as browsers require.
var L = (Module.lumcrest = Module.lumcrest || {});

L.input = (function () {
  var typing = false;
  var pressed = {}; // mouse buttons whose press reached the game
  var wheelRest = 0;
  var touchId = null;
  var touched = false; // a finger has played: a name box then raises the on-screen keyboard

  function browserKey(e) {
    // AltGr (Ctrl and Alt on some systems) types letters: those are the game's.
    if (e.getModifierState && e.getModifierState("AltGraph") && Array.from(e.key).length === 1) return false;
    return e.ctrlKey || e.altKey || e.metaKey || e.key === "F5" || e.key === "F11" || e.key === "F12";
  }

  // The Windows virtual-key code, which the browser gives as keyCode (the keypad's digits with
  // Num Lock, its cursor keys without, as the desktop maps them).
  function virtualKey(e) {
    return e.keyCode || 0;
  }

  function sendText(s) {
    var n = lengthBytesUTF8(s) + 1;
    var p = _malloc(n);
    stringToUTF8(s, p, n);
    Module._lumcrest_text(p);
    _free(p);
  }

  function key(e, down) {
    if (!Module.calledRun || browserKey(e) || e.isComposing) return;
    var vk = virtualKey(e);
    // 229: an on-screen keyboard's key, whose text comes as the typing box's input below.
    if (!vk || vk === 229) return;
    e.preventDefault();
    if (down) L.sound.unlock();
    Module._lumcrest_key(vk, down ? 1 : 0, e.shiftKey ? 1 : 0);
    // Typed text follows its key press, while a box that takes text has the focus.
    if (down && typing && Array.from(e.key).length === 1) sendText(e.key);
  }

  function mouse(e, kind) {
    if (!Module.calledRun) return;
    var p = L.screen.toFrame(e.clientX, e.clientY);
    if (!p) return;
    if (kind === 1) {
      // A press beside the frame goes nowhere, and so does its release.
      if (!p.inside) return;
      e.preventDefault();
      L.sound.unlock();
      pressed[e.button] = true;
    } else if (kind === 2) {
      if (!p.inside && !pressed[e.button]) return;
      delete pressed[e.button];
    } else if (!p.inside && Object.keys(pressed).length === 0) {
      return;
    }
    Module._lumcrest_mouse(kind, e.button, p.x, p.y);
  }

  // Whole notches, up positive: a line-based wheel gives 3 lines a notch, a pixel-based one
  // about 100 pixels; a touchpad's fractions add up.
  function wheel(e) {
    if (!Module.calledRun) return;
    var p = L.screen.toFrame(e.clientX, e.clientY);
    if (!p || !p.inside) return;
    e.preventDefault();
    wheelRest += e.deltaMode === 1 ? e.deltaY / 3 : e.deltaMode === 2 ? e.deltaY : e.deltaY / 100;
    var steps = wheelRest > 0 ? Math.floor(wheelRest) : Math.ceil(wheelRest);
    if (!steps) return;
    wheelRest -= steps;
    Module._lumcrest_wheel(p.x, p.y, -steps);
  }

  // One finger is the mouse's left button.
  function touch(e, kind) {
    var t = null;
    for (var i = 0; i < e.changedTouches.length; ++i)
      if (touchId === null ? kind === 1 : e.changedTouches[i].identifier === touchId) t = e.changedTouches[i];
    if (!t) return;
    e.preventDefault();
    if (kind === 1) touchId = t.identifier;
    touched = true;
    if (kind === 2) touchId = null;
    var fake = { clientX: t.clientX, clientY: t.clientY, button: 0, preventDefault: function () {} };
    if (kind === 1) mouse(fake, 0);
    mouse(fake, kind);
    if (kind === 2) {
      L.sound.unlock();
      // A tap while a name box has the focus (it may have had it from the start) raises the
      // on-screen keyboard; a browser shows one only for a focus given within a touch.
      showKeyboard(typing);
    }
  }

  function showKeyboard(on) {
    var box = document.getElementById("typing");
    if (!box || !touched) return;
    if (on) box.focus();
    else box.blur();
  }

  function listen() {
    var canvas = document.getElementById("game");
    window.addEventListener("keydown", function (e) { key(e, true); });
    window.addEventListener("keyup", function (e) { key(e, false); });
    canvas.addEventListener("mousedown", function (e) { mouse(e, 1); });
    window.addEventListener("mouseup", function (e) { mouse(e, 2); });
    window.addEventListener("mousemove", function (e) { mouse(e, 0); });
    canvas.addEventListener("contextmenu", function (e) { e.preventDefault(); });
    canvas.addEventListener("wheel", wheel, { passive: false });
    canvas.addEventListener("touchstart", function (e) { touch(e, 1); }, { passive: false });
    canvas.addEventListener("touchmove", function (e) { touch(e, 0); }, { passive: false });
    canvas.addEventListener("touchend", function (e) { touch(e, 2); }, { passive: false });
    canvas.addEventListener("touchcancel", function (e) { touch(e, 2); }, { passive: false });
  }

  // The hidden box that an on-screen keyboard types into: its text goes to the game as typed
  // text, its deletions as Backspace.
  function listenToTyping() {
    var box = document.getElementById("typing");
    if (!box) return;
    box.addEventListener("input", function (e) {
      if (!Module.calledRun) return;
      if (e.inputType === "deleteContentBackward") {
        Module._lumcrest_key(8, 1, 0);
        Module._lumcrest_key(8, 0, 0);
      } else if (e.data) {
        sendText(e.data);
      }
      box.value = "";
    });
  }

  Module.preRun = Module.preRun || [];
  Module.preRun.push(listen);
  Module.preRun.push(listenToTyping);

  return {
    // The game wants typed text while a name box has the focus.
    textInput: function (on) {
      typing = on;
      showKeyboard(on);
    },
  };
})();
