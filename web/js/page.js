// The page's side of the game: Module.lumcrest gathers what the game's browser backend calls
// (toolkit/web/), and this file its smallest jobs: the loop's timeout, the shell, the marks.
var L = (Module.lumcrest = Module.lumcrest || {});

// One timeout for the next timer tick: a new schedule replaces the old, so ticks never queue.
L.loop = (function () {
  var pending = null;
  return {
    schedule: function (ms) {
      if (pending !== null) clearTimeout(pending);
      pending = null;
      if (ms < 0) return;
      pending = setTimeout(function () {
        pending = null;
        Module._lumcrest_timer();
      }, ms);
    },
  };
})();

L.shell = (function () {
  var marks = {};
  return {
    marks: marks,
    // Moments of the start-up, in milliseconds since the page began to load.
    mark: function (what) {
      marks[what] = performance.now();
    },
    // The game's own pages are in its data beside the page; other addresses open as they are.
    open: function (address) {
      var url = address.replace(/^file:\/\/\/data\//, "data/");
      window.open(url, "_blank", "noopener");
    },
    fatal: function (message) {
      var box = document.getElementById("message");
      if (box) {
        box.textContent = message;
        box.hidden = false;
      }
    },
    // A line over the game's top edge that the player can click away (what the storage could
    // not keep): the game plays on under it.
    notice: function (message) {
      var line = document.getElementById("notice");
      if (!line) return;
      line.textContent = message;
      line.hidden = false;
      line.onclick = function () { line.hidden = true; };
    },
    // The main window closed (the game's own Exit): the game starts afresh once what it wrote
    // is stored, as a new run would.
    closed: function () {
      L.storage.persist(function () {
        location.reload();
      });
    },
  };
})();

// The tests' settings from the page's address: ?seed=N fixes every seeding, ?clock=test stops
// the clock but for the tests' own steps.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  var query = new URLSearchParams(location.search);
  if (/^\d+$/.test(query.get("seed") || "")) ENV.LUMCREST_SEED = query.get("seed");
  if (query.get("clock") === "test") ENV.LUMCREST_TEST_CLOCK = "1";
});
