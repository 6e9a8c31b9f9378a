// Game controllers through the Gamepad API: read each animation frame while one is connected,
// its presses and releases handed to the game as the desktop's controllers are. The browser's
// standard layout names the buttons as the game does; the left stick left or right is the D-pad's.
var L = (Module.lumcrest = Module.lumcrest || {});

L.pads = (function () {
  // The toolkit's order: A, B, X, Y, Back, Start, up, down, left, right.
  var standard = [0, 1, 2, 3, 8, 9, 12, 13, 14, 15];
  var held = [false, false, false, false, false, false, false, false, false, false];
  var reading = false;

  function read() {
    var pads = navigator.getGamepads ? navigator.getGamepads() : [];
    var now = held.map(function () { return false; });
    var any = false;
    for (var i = 0; i < pads.length; ++i) {
      var pad = pads[i];
      if (!pad || !pad.connected) continue;
      any = true;
      standard.forEach(function (b, k) {
        if (pad.buttons[b] && pad.buttons[b].pressed) now[k] = true;
      });
      var x = pad.axes.length ? pad.axes[0] : 0;
      if (x < -0.5) now[8] = true;
      if (x > 0.5) now[9] = true;
    }
    // A button counts as held while any controller holds it.
    for (var k = 0; k < held.length; ++k) {
      if (now[k] === held[k]) continue;
      held[k] = now[k];
      if (Module.calledRun) Module._lumcrest_pad(k, now[k] ? 1 : 0);
    }
    reading = any;
    if (reading) requestAnimationFrame(read);
  }

  window.addEventListener("gamepadconnected", function () {
    if (!reading) {
      reading = true;
      requestAnimationFrame(read);
    }
  });
  return { held: held };
})();
