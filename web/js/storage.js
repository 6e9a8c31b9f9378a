// The player's file in the browser's IndexedDB, with the desktop's promises. The game reads and
// writes its settings folder as on the desktop (a new file renamed over the old). After each
// event that changed it, the changed files go to IndexedDB in one transaction, so a write lands
// whole or not at all; the requests are all made at once, within the event, so even a change
// made as the tab closes is handed over before the page goes; as browsers may still drop a
// transaction the closing page began, what the folder holds then is also put in localStorage,
// whose writes are immediate, and the next start takes it when it is newer than IndexedDB's.
// Another tab of the game hears of
// each store and reads the folder back before its next change, so each change merges into what
// the file holds at that moment, as two copies of the game on one desktop do. Two tabs may still
// change the file before either hears of the other: every store therefore runs under a lock all
// the game's tabs share (navigator.locks) and, in the one transaction that writes, reads what is
// stored first; when another tab stored since, this page's changes are merged into that.
// A stored record that is damaged (not bytes, or under a name that is no file's) is left out
// with a warning: the game always starts. Storage that is full or refused is said on the page.
var L = (Module.lumcrest = Module.lumcrest || {});

// The settings file's text as sections of keys, and the merge of two pages' changes to it. The
// text is handled as bytes (one character each), so any encoding of a name passes unchanged.
L.playerFile = (function () {
  function parse(text) {
    var sections = { "": {} }, order = [""], current = "";
    String(text || "").split("\n").forEach(function (raw) {
      var line = raw.replace(/\r$/, "");
      var header = /^\s*\[([^\]]*)\]\s*$/.exec(line);
      if (header) {
        current = header[1];
        if (!sections[current]) {
          sections[current] = {};
          order.push(current);
        }
        return;
      }
      if (!line.trim()) return;
      var eq = line.indexOf("=");
      var key = eq < 0 ? line : line.slice(0, eq).trim();
      sections[current][key] = eq < 0 ? null : line.slice(eq + 1);
    });
    return { sections: sections, order: order };
  }

  function format(doc, newline) {
    var out = [];
    doc.order.forEach(function (name) {
      var keys = Object.keys(doc.sections[name] || {});
      if (name === "" && !keys.length) return;
      if (name !== "") out.push("[" + name + "]");
      keys.forEach(function (k) {
        var v = doc.sections[name][k];
        out.push(v === null ? k : k + "=" + v);
      });
    });
    return out.length ? out.join(newline) + newline : "";
  }

  var scoreLine = /^Scoreline([1-9]|10)$/;

  // The high-score table's lines, best first.
  function table(doc) {
    var lines = [];
    for (var k = 1; k <= 10; ++k) {
      var s = doc.sections["Scoreline" + k];
      if (s) lines.push({ name: s.Name === undefined ? null : s.Name, score: s.Score === undefined ? null : s.Score });
    }
    return lines;
  }

  function same(a, b) { return JSON.stringify(a) === JSON.stringify(b); }

  // The lines of OURS that BASE did not have (each line counted as often as it is there).
  function added(base, ours) {
    var left = base.slice();
    return ours.filter(function (line) {
      for (var i = 0; i < left.length; ++i) {
        if (same(left[i], line)) {
          left.splice(i, 1);
          return false;
        }
      }
      return true;
    });
  }

  // A new line goes below every line with as many points, as the game sorts it in.
  function sortIn(lines, line) {
    var points = parseInt(line.score, 10) || 0, at = lines.length;
    for (var i = 0; i < lines.length; ++i) {
      if ((parseInt(lines[i].score, 10) || 0) < points) {
        at = i;
        break;
      }
    }
    lines.splice(at, 0, line);
  }

  // The file as THEIRS has it, with what this page changed since BASE: each setting it changed,
  // each line it added to the high-score table (sorted in, the best ten kept), and the game in
  // progress (every other section) whole where it changed any of it. All three are texts.
  function merge(baseText, oursText, theirsText) {
    var base = parse(baseText), ours = parse(oursText), theirs = parse(theirsText);
    var out = parse(theirsText);
    var settings = function (n) { return n === "" || n === "Settings"; };
    var game = function (n) { return !settings(n) && !scoreLine.test(n); };
    ["", "Settings"].forEach(function (name) {
      var b = base.sections[name] || {}, o = ours.sections[name] || {};
      Object.keys(o).concat(Object.keys(b)).forEach(function (k) {
        if (b[k] === o[k]) return;
        if (!out.sections[name]) {
          out.sections[name] = {};
          out.order.push(name);
        }
        if (o[k] === undefined) delete out.sections[name][k];
        else out.sections[name][k] = o[k];
      });
    });
    var gameOf = function (doc) {
      return doc.order.filter(game).map(function (n) { return [n, doc.sections[n]]; });
    };
    if (!same(gameOf(base), gameOf(ours))) {
      out.order = out.order.filter(function (n) { return !game(n); });
      gameOf(theirs).forEach(function (entry) { delete out.sections[entry[0]]; });
      gameOf(ours).forEach(function (entry) {
        out.order.push(entry[0]);
        out.sections[entry[0]] = entry[1];
      });
    }
    var fresh = added(table(base), table(ours));
    if (fresh.length) {
      var lines = table(theirs);
      fresh.forEach(function (line) { sortIn(lines, line); });
      lines.slice(0, 10).forEach(function (line, i) {
        var name = "Scoreline" + (i + 1);
        if (!out.sections[name]) out.order.push(name);
        out.sections[name] = {};
        if (line.name !== null) out.sections[name].Name = line.name;
        if (line.score !== null) out.sections[name].Score = line.score;
      });
    }
    return format(out, /\r\n/.test(oursText) ? "\r\n" : "\n");
  }

  return { merge: merge };
})();

L.storage = (function () {
  var announceLoaded;
  var loaded = new Promise(function (resolve) { announceLoaded = resolve; });
  var folder = "/home/web_user/.config/lumcrest";
  var db = null;
  var stored = {}; // name -> "size:mtime" of each file as it was last stored or read back
  var base = {}; // name -> the bytes of each file as it was last stored or read back
  var writing = false, again = false, readAgain = false, waiting = [];
  var lastWords = "lumcrest-player-file"; // the localStorage key of the folder at a closing
  var storedStamp = 0; // when IndexedDB's copy was last written (by any tab)
  var channel = typeof BroadcastChannel === "function" ? new BroadcastChannel("lumcrest-player-file") : null;
  var said = {};

  // The page says once that the storage is full ("full") or refused ("denied"), in the game's
  // language when the game runs (it words it), else as soon as it does.
  function tell(why, error) {
    console.warn("lumcrest: the player's file cannot be stored:", error);
    if (said[why]) return;
    said[why] = true;
    var say = function () {
      if (!Module.calledRun) return setTimeout(say, 100);
      if (typeof Module._lumcrest_storage_failed === "function") Module._lumcrest_storage_failed(why === "full" ? 0 : 1);
    };
    say();
  }

  function failure(error) {
    var name = error && error.name;
    return name === "QuotaExceededError" ? "full" : name === "SecurityError" || name === "InvalidStateError" ||
      name === "NotAllowedError" || name === "UnknownError" ? "denied" : null;
  }

  // A file of the folder may be stored and read back under NAME: a plain name, not a path.
  function fileName(name) {
    return typeof name === "string" && name !== "" && name !== "." && name !== ".." &&
      name.indexOf("/") < 0 && name.indexOf("\0") < 0 && name.charAt(0) !== "#" && name.length <= 255;
  }

  function bytesOf(value) {
    if (value instanceof Uint8Array) return value;
    if (value instanceof ArrayBuffer) return new Uint8Array(value);
    return null;
  }

  function read(n) {
    return FS.readFile(folder + "/" + n);
  }

  function text(bytes) {
    var out = "";
    for (var i = 0; i < bytes.length; i += 8192) out += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
    return out;
  }

  function bytes(str) {
    var out = new Uint8Array(str.length);
    for (var i = 0; i < str.length; ++i) out[i] = str.charCodeAt(i) & 255;
    return out;
  }

  // The folder's files now (the lock files only matter while a write runs, within this page).
  function snapshot() {
    var out = {};
    try {
      FS.readdir(folder).forEach(function (n) {
        if (n === "." || n === ".." || /\.lock$/.test(n)) return;
        var s = FS.stat(folder + "/" + n);
        if (FS.isFile(s.mode)) out[n] = s.size + ":" + s.mtime.getTime();
      });
    } catch (e) {}
    return out;
  }

  function differences() {
    var now = snapshot(), put = [], gone = [];
    Object.keys(now).forEach(function (n) { if (stored[n] !== now[n]) put.push(n); });
    Object.keys(stored).forEach(function (n) { if (!(n in now)) gone.push(n); });
    return { now: now, put: put, gone: gone };
  }

  // The folder as this page last stored or read it back: what its changes are measured from.
  function remember() {
    stored = snapshot();
    base = {};
    Object.keys(stored).forEach(function (n) {
      try {
        base[n] = read(n);
      } catch (e) {}
    });
  }

  function finished() {
    writing = false;
    var callbacks = waiting;
    waiting = [];
    callbacks.forEach(function (f) { f(); });
    if (again) {
      again = false;
      persist();
    } else if (readAgain) {
      readAgain = false;
      readBack();
    }
  }

  // JOB(done) under the lock every tab of the game shares, released at done(). Where the lock
  // cannot be had (no navigator.locks, or it refuses), JOB runs without it.
  function underLock(job) {
    var ran = false;
    var run = function (release) {
      ran = true;
      job(release);
    };
    var alone = function (e) {
      if (e) console.warn("lumcrest: the tabs' lock of the player's file failed:", e);
      if (!ran) run(function () {});
    };
    if (typeof navigator === "undefined" || !navigator.locks || !navigator.locks.request) return alone();
    try {
      navigator.locks.request("lumcrest-player-file", function () {
        return new Promise(function (release) { run(release); });
      }).catch(alone);
    } catch (e) {
      alone(e);
    }
  }

  // The records of IndexedDB's store as files: the damaged ones left out, with a warning.
  function records(keys, values) {
    var files = {}, stamp = 0;
    keys.forEach(function (n, i) {
      var v = values[i];
      if (n === "#stamp") {
        if (typeof v === "number" && isFinite(v)) stamp = v;
        else console.warn("lumcrest: a stored stamp that is no time is left out:", v);
        return;
      }
      var b = bytesOf(v);
      if (!fileName(n) || !b) return console.warn("lumcrest: a damaged stored record is left out:", n);
      files[n] = b;
    });
    return { files: files, stamp: stamp };
  }

  // This page's changes, merged into what another tab stored since this page last looked.
  function mergeInto(theirs, d) {
    d.put.forEach(function (n) {
      if (!(n in theirs.files)) return;
      var ours = read(n);
      var merged = n === "lumcrest.ini" ? bytes(L.playerFile.merge(text(base[n] || new Uint8Array(0)), text(ours), text(theirs.files[n]))) : ours;
      FS.writeFile(folder + "/" + n, merged);
    });
    Object.keys(theirs.files).forEach(function (n) {
      var mine = d.put.indexOf(n) >= 0 || d.gone.indexOf(n) >= 0;
      if (!mine) FS.writeFile(folder + "/" + n, theirs.files[n]);
    });
    Object.keys(snapshot()).forEach(function (n) {
      if (!(n in theirs.files) && d.put.indexOf(n) < 0) FS.unlink(folder + "/" + n);
    });
  }

  // Stores the folder's changes: in one transaction, under the tabs' lock, what is stored is read
  // first and, when another tab stored since, this page's changes go into it.
  function store(d, release) {
    var tx, files;
    try {
      tx = db.transaction("files", "readwrite");
      files = tx.objectStore("files");
    } catch (e) {
      tell(failure(e) || "denied", e);
      release();
      return finished();
    }
    var keys = files.getAllKeys(), values = files.getAll(), now = d.now, stamp = 0;
    values.onsuccess = function () {
      try {
        var theirs = records(keys.result, values.result);
        if (theirs.stamp !== storedStamp) {
          mergeInto(theirs, d);
          now = snapshot();
          d.put = Object.keys(now);
          d.gone = keys.result.filter(function (n) { return n !== "#stamp" && !(n in now); });
        }
        d.put.forEach(function (n) { files.put(read(n), n); });
        d.gone.forEach(function (n) { files.delete(n); });
        stamp = Math.max(Date.now(), theirs.stamp + 1);
        files.put(stamp, "#stamp");
      } catch (e) {
        console.warn("lumcrest: the player's file was not stored:", e);
        tx.abort();
      }
    };
    tx.oncomplete = function () {
      storedStamp = stamp;
      forgetLastWords(stamp);
      stored = now;
      base = {};
      Object.keys(now).forEach(function (n) {
        try {
          base[n] = read(n);
        } catch (e) {}
      });
      if (channel) channel.postMessage("stored");
      release();
      finished();
    };
    tx.onabort = tx.onerror = function () {
      var why = failure(tx.error);
      if (why) tell(why, tx.error);
      else console.warn("lumcrest: the player's file was not stored:", tx.error);
      release();
      finished();
    };
  }

  function persist(then) {
    if (then) waiting.push(then);
    if (!db) return finished();
    if (writing) {
      again = true;
      return;
    }
    var d = differences();
    if (!d.put.length && !d.gone.length) return finished();
    writing = true;
    underLock(function (release) {
      // What changed since the lock was asked for is stored too (and a change a read-back took
      // in meanwhile is not stored again).
      var now = differences();
      if (!now.put.length && !now.gone.length) {
        release();
        return finished();
      }
      store(now, release);
    });
  }

  // The folder as IndexedDB holds it, in place of this page's copy; THEN always follows.
  function load(then) {
    var tx, files, keys, values;
    try {
      tx = db.transaction("files", "readonly");
      files = tx.objectStore("files");
      keys = files.getAllKeys();
      values = files.getAll();
    } catch (e) {
      tell(failure(e) || "denied", e);
      return then();
    }
    tx.oncomplete = function () {
      try {
        var got = records(keys.result, values.result);
        storedStamp = got.stamp;
        Object.keys(got.files).forEach(function (n) { FS.writeFile(folder + "/" + n, got.files[n]); });
        Object.keys(snapshot()).forEach(function (n) { if (!(n in got.files)) FS.unlink(folder + "/" + n); });
        remember();
        takeLastWords();
      } catch (e) {
        console.warn("lumcrest: the stored player's file could not be read back:", e);
      }
      then();
    };
    tx.onabort = tx.onerror = function () {
      console.warn("lumcrest: the player's file cannot be read:", tx.error);
      then();
    };
  }

  // The folder, whole, in localStorage: one key, so it is there whole or not at all.
  function leaveLastWords() {
    var files = {};
    Object.keys(snapshot()).forEach(function (n) { files[n] = btoa(text(read(n))); });
    try {
      localStorage.setItem(lastWords, JSON.stringify({ stamp: Date.now(), files: files }));
    } catch (e) {
      var why = failure(e);
      if (why) tell(why, e);
    }
  }

  // The folder a closing page left, when it is whole and sound; null otherwise (a damaged copy
  // is dropped with a warning).
  function readLastWords() {
    var words = null;
    try {
      words = JSON.parse(localStorage.getItem(lastWords) || "null");
      if (words === null) return null;
      if (!words || typeof words.stamp !== "number" || !isFinite(words.stamp) || !words.files ||
          typeof words.files !== "object" || Array.isArray(words.files)) throw new Error("not a folder");
      var files = {};
      Object.keys(words.files).forEach(function (n) {
        if (!fileName(n) || typeof words.files[n] !== "string") throw new Error("a damaged file " + n);
        files[n] = bytes(atob(words.files[n]));
      });
      return { stamp: words.stamp, files: files };
    } catch (e) {
      console.warn("lumcrest: the player's file left by a closing page is damaged and left out:", e);
      try {
        localStorage.removeItem(lastWords);
      } catch (e2) {}
      return null;
    }
  }

  function forgetLastWords(stamp) {
    try {
      var words = JSON.parse(localStorage.getItem(lastWords) || "null");
      if (words && !(words.stamp > stamp)) localStorage.removeItem(lastWords);
    } catch (e) {}
  }

  // A closing page's folder that IndexedDB did not get: it replaces the copy just read, and is
  // stored with the first event.
  function takeLastWords() {
    var words = readLastWords();
    if (!words) return;
    if (words.stamp > storedStamp) {
      Object.keys(snapshot()).forEach(function (n) { FS.unlink(folder + "/" + n); });
      Object.keys(words.files).forEach(function (n) { FS.writeFile(folder + "/" + n, words.files[n]); });
      stored = {};
    } else {
      localStorage.removeItem(lastWords);
    }
  }

  // Another tab stored the file: read it back, unless this page has a change of its own to
  // store first (it merges the other tab's as it stores).
  function readBack() {
    var d = differences();
    if (writing || d.put.length || d.gone.length) {
      readAgain = true;
      if (!writing) persist();
      return;
    }
    writing = true;
    underLock(function (release) {
      load(function () {
        release();
        finished();
      });
    });
  }

  function hidden() {
    if (!Module.calledRun) return;
    Module._lumcrest_page_hidden();
    var d = differences();
    if (d.put.length || d.gone.length) leaveLastWords();
    persist();
  }

  Module.preRun = Module.preRun || [];
  Module.preRun.push(function () {
    // The browser's languages, best first, as the desktop's LANGUAGE list ("pt-BR" is pt_BR).
    var langs = navigator.languages && navigator.languages.length ? navigator.languages : [navigator.language || "en"];
    ENV.LANGUAGE = langs.map(function (l) { return l.replace("-", "_"); }).join(":");
    FS.mkdirTree(folder);
    addRunDependency("player-file");
    var done = false;
    var ready = function () {
      if (done) return;
      done = true;
      removeRunDependency("player-file");
      announceLoaded();
    };
    var open;
    try {
      open = indexedDB.open("lumcrest-player", 1);
    } catch (e) {
      // No storage (a private window may refuse it): the game runs and keeps nothing.
      tell("denied", e);
      return ready();
    }
    open.onupgradeneeded = function () { open.result.createObjectStore("files"); };
    open.onsuccess = function () {
      db = open.result;
      try {
        load(ready);
      } catch (e) {
        console.warn("lumcrest: the player's file cannot be read:", e);
        ready();
      }
    };
    open.onerror = function () {
      tell(failure(open.error) || "denied", open.error);
      ready();
    };
    open.onblocked = function () {
      console.warn("lumcrest: the player's file is held by an older page of the game");
      ready();
    };
  });
  if (channel) channel.onmessage = readBack;
  document.addEventListener("visibilitychange", function () {
    if (document.visibilityState === "hidden") hidden();
  });
  window.addEventListener("pagehide", hidden);

  return {
    // Resolved once the file is read (or found not to be there).
    loaded: loaded,
    persist: persist,
    check: function () {
      var d = differences();
      if (d.put.length || d.gone.length) persist();
    },
    // For the tests: the settings file as this page has it.
    text: function () {
      try {
        return FS.readFile(folder + "/lumcrest.ini", { encoding: "utf8" });
      } catch (e) {
        return null;
      }
    },
  };
})();
