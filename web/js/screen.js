// The canvas: the frame at the largest whole-number scale of device pixels that fits the page,
// as on the desktop; scaled smoothly only when even a scale of 1 does not fit. The frame itself
// is kept at its own size in a second canvas, so a change of scale redraws without the game.
var L = (Module.lumcrest = Module.lumcrest || {});

L.screen = (function () {
  var canvas = null, ctx = null, frame = null, fctx = null;
  var fw = 0, fh = 0, scale = 1, smooth = false;

  function setUp() {
    if (canvas) return;
    canvas = document.getElementById("game");
    ctx = canvas.getContext("2d");
    frame = document.createElement("canvas");
    fctx = frame.getContext("2d");
    window.addEventListener("resize", layout);
  }

  function layout() {
    if (!fw) return;
    var dpr = window.devicePixelRatio || 1;
    var room = Math.min((window.innerWidth * dpr) / fw, (window.innerHeight * dpr) / fh);
    var whole = Math.floor(room);
    smooth = whole < 1;
    scale = smooth ? room : whole;
    canvas.width = Math.max(1, Math.round(fw * scale));
    canvas.height = Math.max(1, Math.round(fh * scale));
    canvas.style.width = canvas.width / dpr + "px";
    canvas.style.height = canvas.height / dpr + "px";
    ctx.imageSmoothingEnabled = smooth;
    ctx.drawImage(frame, 0, 0, canvas.width, canvas.height);
    // A change of the device-pixel ratio (a zoom, another screen) is a change of size too.
    matchMedia("(resolution: " + dpr + "dppx)").addEventListener("change", layout, { once: true });
  }

  return {
    frameSize: function (w, h) {
      setUp();
      fw = frame.width = w;
      fh = frame.height = h;
      layout();
      canvas.hidden = false;
    },
    // Pixels of the composed frame (0xAARRGGBB words, STRIDE a row) to the area at (x, y).
    draw: function (ptr, stride, x, y, w, h) {
      var img = fctx.createImageData(w, h);
      var out = img.data, src = HEAPU32, at = ptr >> 2, i = 0;
      for (var row = 0; row < h; ++row, at += stride) {
        for (var col = 0; col < w; ++col) {
          var p = src[at + col];
          out[i++] = (p >>> 16) & 255;
          out[i++] = (p >>> 8) & 255;
          out[i++] = p & 255;
          out[i++] = 255;
        }
      }
      fctx.putImageData(img, x, y);
      if (smooth) ctx.drawImage(frame, 0, 0, canvas.width, canvas.height);
      else ctx.drawImage(frame, x, y, w, h, x * scale, y * scale, w * scale, h * scale);
    },
    // The frame's pixel under a point of the page; null off the frame.
    toFrame: function (clientX, clientY) {
      if (!canvas || !fw) return null;
      var r = canvas.getBoundingClientRect();
      var x = Math.floor(((clientX - r.left) * fw) / r.width);
      var y = Math.floor(((clientY - r.top) * fh) / r.height);
      return { x: x, y: y, inside: x >= 0 && y >= 0 && x < fw && y < fh };
    },
    cursor: function (hand) {
      if (canvas) canvas.style.cursor = hand ? "pointer" : "default";
    },
    canvas: function () {
      return canvas;
    },
    frame: function () {
      return frame;
    },
  };
})();
