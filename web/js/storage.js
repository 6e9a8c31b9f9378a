// The player's file in the browser's IndexedDB, with the desktop's promises. The game reads and
// writes its settings folder as on the desktop (a new file renamed over the old). After each
// event that changed it, the changed files go to IndexedDB in one transaction, so a write lands
// whole or not at all; the requests are all made at once, within the event, so even a change
// made as the tab closes is handed over before the page goes; as browsers may still drop a
// transaction the closing page began, what the folder holds then is also put in localStorage,
// whose writes are immediate, and the next start takes it when it is newer than IndexedDB's.
// Another tab of the game hears of
// each store and reads the folder back before its next change, so each change merges into what
// the file holds at that moment, as two copies of the game on one desktop do.
var L = (Module.lumcrest = Module.lumcrest || {});

L.storage = (function () {
  var announceLoaded;
  var loaded = new Promise(function (resolve) { announceLoaded = resolve; });
  var folder = "/home/web_user/.config/lumcrest";
  var db = null;
  var stored = {}; // name -> "size:mtime" of each file as it was last stored or read back
  var writing = false, again = false, readAgain = false, waiting = [];
  var lastWords = "lumcrest-player-file"; // the localStorage key of the folder at a closing
  var storedStamp = 0; // when IndexedDB's copy was last written (by any tab)
  var channel = typeof BroadcastChannel === "function" ? new BroadcastChannel("lumcrest-player-file") : null;

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
    var tx = db.transaction("files", "readwrite"), files = tx.objectStore("files");
    d.put.forEach(function (n) { files.put(FS.readFile(folder + "/" + n), n); });
    d.gone.forEach(function (n) { files.delete(n); });
    var stamp = Date.now();
    files.put(stamp, "#stamp");
    tx.oncomplete = function () {
      storedStamp = stamp;
      forgetLastWords(stamp);
      d.put.forEach(function (n) { stored[n] = d.now[n]; });
      d.gone.forEach(function (n) { delete stored[n]; });
      if (channel) channel.postMessage("stored");
      finished();
    };
    tx.onabort = tx.onerror = function () {
      console.warn("lumcrest: the player's file was not stored:", tx.error);
      finished();
    };
  }

  // The folder as IndexedDB holds it, in place of this page's copy.
  function load(then) {
    var tx = db.transaction("files", "readonly"), files = tx.objectStore("files");
    var keys = files.getAllKeys(), values = files.getAll();
    tx.oncomplete = function () {
      var remote = {};
      storedStamp = 0;
      keys.result.forEach(function (n, i) {
        if (n === "#stamp") return (storedStamp = values.result[i]);
        remote[n] = true;
        FS.writeFile(folder + "/" + n, values.result[i]);
      });
      Object.keys(snapshot()).forEach(function (n) { if (!remote[n]) FS.unlink(folder + "/" + n); });
      stored = snapshot();
      takeLastWords();
      then();
    };
    tx.onabort = tx.onerror = function () { then(); };
  }

  // The folder, whole, in localStorage: one key, so it is there whole or not at all.
  function leaveLastWords() {
    var files = {};
    Object.keys(snapshot()).forEach(function (n) {
      var bytes = FS.readFile(folder + "/" + n), text = "";
      for (var i = 0; i < bytes.length; ++i) text += String.fromCharCode(bytes[i]);
      files[n] = btoa(text);
    });
    try {
      localStorage.setItem(lastWords, JSON.stringify({ stamp: Date.now(), files: files }));
    } catch (e) {}
  }

  function readLastWords() {
    try {
      return JSON.parse(localStorage.getItem(lastWords) || "null");
    } catch (e) {
      return null;
    }
  }

  function forgetLastWords(stamp) {
    var words = readLastWords();
    if (words && words.stamp <= stamp) localStorage.removeItem(lastWords);
  }

  // A closing page's folder that IndexedDB did not get: it replaces the copy just read, and is
  // stored with the first event.
  function takeLastWords() {
    var words = readLastWords();
    if (!words) return;
    if (words.stamp > storedStamp) {
      Object.keys(snapshot()).forEach(function (n) { FS.unlink(folder + "/" + n); });
      Object.keys(words.files).forEach(function (n) {
        var text = atob(words.files[n]), bytes = new Uint8Array(text.length);
        for (var i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
        FS.writeFile(folder + "/" + n, bytes);
      });
      stored = {};
    } else {
      localStorage.removeItem(lastWords);
    }
  }

  // Another tab stored the file: read it back, unless this page has a change of its own to
  // store first (it reads back right after).
  function readBack() {
    var d = differences();
    if (writing || d.put.length || d.gone.length) {
      readAgain = true;
      if (!writing) persist();
      return;
    }
    writing = true;
    load(finished);
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
    var ready = function () {
      removeRunDependency("player-file");
      announceLoaded();
    };
    var open;
    try {
      open = indexedDB.open("lumcrest-player", 1);
    } catch (e) {
      // No storage (a private window may refuse it): the game runs and keeps nothing.
      return ready();
    }
    open.onupgradeneeded = function () { open.result.createObjectStore("files"); };
    open.onsuccess = function () {
      db = open.result;
      load(ready);
    };
    open.onerror = open.onblocked = function () {
      console.warn("lumcrest: the player's file cannot be opened:", open.error);
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
