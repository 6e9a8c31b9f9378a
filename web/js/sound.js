// Sound through Web Audio: one voice for effects (a new one cuts the last), three ringing voices
// for bursts and cues (a fourth cuts the oldest), and one music track ducked under the fanfares,
// both decoded by the browser from the game's files. Browsers let sound start only after the
// player's first key, click or touch: until then nothing sounds, and the music that should be
// playing joins at the place it would have reached.
var L = (Module.lumcrest = Module.lumcrest || {});

L.sound = (function () {
  var ctx = null, musicOut = null, musicDuck = null, musicLevel = 1;
  var RINGING = 3, rings = [];
  var buffers = {}, decoding = {}, wanted = [];
  var voice = null, lastEffect = null;
  var music = { path: null, buffer: null, source: null, playing: false, from: 0, since: 0 };

  function exists(path) {
    try {
      return FS.analyzePath(path).exists;
    } catch (e) {
      return false;
    }
  }

  function decode(path, then) {
    if (buffers[path]) return then && then(buffers[path]);
    if (!ctx || decoding[path] || !exists(path)) return;
    decoding[path] = true;
    var bytes = FS.readFile(path);
    ctx.decodeAudioData(bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength)).then(
      function (b) {
        buffers[path] = b;
        delete decoding[path];
        if (then) then(b);
      },
      function () {
        delete decoding[path];
      }
    );
  }

  function startEffect(buffer, gain) {
    if (voice) voice.stop();
    var g = ctx.createGain();
    g.gain.value = gain;
    g.connect(ctx.destination);
    voice = ctx.createBufferSource();
    voice.buffer = buffer;
    voice.connect(g);
    voice.start();
  }

  function startRing(buffer, gain) {
    rings = rings.filter(function (r) { return r.playing; });
    if (rings.length >= RINGING) {
      var oldest = rings.shift();
      oldest.gain.gain.setTargetAtTime(0, ctx.currentTime, 0.003);
      oldest.source.stop(ctx.currentTime + 0.02);
    }
    var g = ctx.createGain(), source = ctx.createBufferSource(), ring = { source: source, gain: g, playing: true };
    g.gain.value = gain;
    g.connect(ctx.destination);
    source.buffer = buffer;
    source.connect(g);
    source.onended = function () { ring.playing = false; };
    source.start();
    rings.push(ring);
  }

  // The track from where it would be now, once it is decoded and sound may start.
  function startMusic() {
    if (!ctx || !music.playing || !music.buffer || music.source) return;
    var at = music.from + (performance.now() - music.since) / 1000;
    if (at >= music.buffer.duration) return;
    music.source = ctx.createBufferSource();
    music.source.buffer = music.buffer;
    music.source.connect(musicOut);
    music.source.start(0, at);
  }

  function stopMusic() {
    if (music.source) music.source.stop();
    music.source = null;
  }

  function decodeMusic() {
    var path = music.path;
    decode(path, function (b) {
      if (music.path !== path) return;
      music.buffer = b;
      startMusic();
    });
  }

  return {
    unlock: function () {
      if (!ctx) {
        var Context = window.AudioContext || window.webkitAudioContext;
        if (!Context) return;
        ctx = new Context();
        musicOut = ctx.createGain();
        musicOut.gain.value = musicLevel;
        musicDuck = ctx.createGain();
        musicOut.connect(musicDuck);
        musicDuck.connect(ctx.destination);
        wanted.forEach(function (p) { decode(p); });
        if (music.path) decodeMusic();
      }
      if (ctx.state === "suspended") ctx.resume();
    },
    preload: function (path) {
      if (ctx) decode(path);
      else wanted.push(path);
    },
    effect: function (path, gain) {
      // What cannot be played beeps, as on the desktop.
      if (!exists(path)) return L.sound.beep();
      if (!ctx) return;
      lastEffect = path;
      decode(path, function (b) {
        if (lastEffect === path) startEffect(b, gain);
      });
    },
    // A burst or a cue on a ringing voice; a missing burst beeps, a missing cue is silent.
    ring: function (path, gain, beepWhenMissing) {
      if (!exists(path)) return beepWhenMissing ? L.sound.beep() : undefined;
      if (!ctx) return;
      decode(path, function (b) { startRing(b, gain); });
    },
    // The music lowered to GAIN at once, held SECONDS, then back over 0.4 s.
    musicDuck: function (gain, seconds) {
      if (!musicDuck) return;
      var now = ctx.currentTime, g = musicDuck.gain;
      g.cancelScheduledValues(now);
      g.setValueAtTime(g.value, now);
      g.linearRampToValueAtTime(gain, now + 0.03);
      g.setValueAtTime(gain, now + seconds);
      g.linearRampToValueAtTime(1, now + seconds + 0.4);
    },
    beep: function () {
      if (!ctx) return;
      var osc = ctx.createOscillator(), g = ctx.createGain();
      osc.frequency.value = 880;
      g.gain.value = 0.1;
      osc.connect(g);
      g.connect(ctx.destination);
      osc.start();
      osc.stop(ctx.currentTime + 0.12);
    },
    musicOpen: function (path) {
      stopMusic();
      music = { path: path, buffer: null, source: null, playing: false, from: 0, since: 0 };
      if (ctx) decodeMusic();
    },
    musicPlay: function (fromSeconds) {
      stopMusic();
      music.playing = true;
      music.from = fromSeconds;
      music.since = performance.now();
      startMusic();
    },
    musicStop: function () {
      music.playing = false;
      stopMusic();
    },
    // For the tests: whether sound runs, and the track that is heard.
    state: function () {
      return { context: ctx ? ctx.state : "none", music: music.source ? music.path : "" };
    },
    musicGain: function (gain) {
      musicLevel = gain;
      if (musicOut) musicOut.gain.value = gain;
    },
  };
})();
