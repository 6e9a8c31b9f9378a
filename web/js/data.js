// The game's data, downloaded before the game starts: the pack every player needs and the one of
// the player's language (the settings file's Language, else the browser's languages, chosen by
// the game's own rules), with the progress bar filled as the bytes arrive; and later, the faces
// a name in another script needs.
var L = (Module.lumcrest = Module.lumcrest || {});

L.data = (function () {
  var known = ["de", "fr", "es", "it", "pt_BR", "nl", "pl", "ru"];
  var loaded = {}, total = {};

  function meansEnglish(name) {
    return name === "C" || name === "POSIX" || /^C\./.test(name) || name === "en" || /^en[_.]/.test(name);
  }

  // "de_AT.UTF-8" -> the known language it names; "" when none.
  function knownFrom(name) {
    name = name.split(/[.@]/)[0];
    if (!name) return "";
    if (known.indexOf(name) >= 0) return name;
    var base = name.split("_")[0];
    for (var i = 0; i < known.length; ++i) if (known[i].split("_")[0] === base) return known[i];
    return "";
  }

  // The language the game will choose, as it chooses: the setting first, then the list.
  function language(settings, list) {
    var m = /^\s*Language\s*=\s*(\S*)\s*$/m.exec(settings || "");
    if (m && m[1]) {
      if (meansEnglish(m[1])) return "";
      if (knownFrom(m[1])) return knownFrom(m[1]);
    }
    var items = list.split(":");
    for (var i = 0; i < items.length; ++i) {
      if (meansEnglish(items[i])) return "";
      if (knownFrom(items[i])) return knownFrom(items[i]);
    }
    return "";
  }

  function progress() {
    var done = 0, all = 0;
    Object.keys(total).forEach(function (k) {
      done += loaded[k] || 0;
      all += total[k];
    });
    var bar = document.getElementById("progress");
    if (bar && all) bar.value = done / all;
  }

  // The bytes of URL, counted into the progress as they come.
  function download(url) {
    return fetch(url).then(function (r) {
      if (!r.ok) throw new Error(url + ": " + r.status);
      total[url] = +r.headers.get("Content-Length") || 0;
      if (!r.body || !total[url]) return r.arrayBuffer();
      var reader = r.body.getReader(), parts = [], got = 0;
      function more() {
        return reader.read().then(function (step) {
          if (step.done) {
            var all = new Uint8Array(got), at = 0;
            parts.forEach(function (p) { all.set(p, at); at += p.length; });
            return all.buffer;
          }
          parts.push(step.value);
          got += step.value.length;
          loaded[url] = got;
          progress();
          return more();
        });
      }
      return more();
    });
  }

  function unpack(name) {
    return Promise.all([
      fetch(name + ".json").then(function (r) { return r.json(); }),
      download(name + ".pack"),
    ]).then(function (both) {
      var bytes = new Uint8Array(both[1]), at = 0;
      both[0].forEach(function (f) {
        FS.mkdirTree(f.path.substring(0, f.path.lastIndexOf("/")));
        FS.writeFile(f.path, bytes.subarray(at, at + f.size));
        at += f.size;
      });
    });
  }

  // A part of the faces that stand in for letters the game's own lack (fonts/fallback.txt),
  // fetched the first time a text needs one of its letters; when it has come, the game draws
  // everything again. One that cannot be fetched leaves those letters out, as before.
  var fontParts = {};
  function fonts(pack) {
    if (fontParts[pack]) return;
    fontParts[pack] = unpack(pack).then(
      function () { Module._lumcrest_fonts_arrived(); },
      function (e) { console.warn("fonts: " + e.message); }
    );
  }

  Module.preRun = Module.preRun || [];
  Module.preRun.push(function () {
    addRunDependency("data");
    var packs = [unpack("common"), L.storage.loaded.then(function () {
      var lang = language(L.storage.text(), ENV.LANGUAGE || "");
      return lang ? unpack("lang-" + lang) : null;
    })];
    Promise.all(packs).then(
      function () { removeRunDependency("data"); },
      function (e) { L.shell.fatal(e.message); }
    );
  });
  return { language: language, fonts: fonts, fontParts: fontParts };
})();
