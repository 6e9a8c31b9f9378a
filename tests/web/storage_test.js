// The page's storage of the player's file (web/js/storage.js) against a browser of its own, in
// Node: an IndexedDB whose read-write transactions take turns, a localStorage, the tabs' shared
// lock and message channel, and each tab's folder. Damaged stored records never stop a start;
// two tabs' changes made before either heard of the other both stay; storage that is full or
// refused is said.
// usage: node storage_test.js ROOT
"use strict";
const fs = require("fs");
const path = require("path");
const vm = require("vm");

const source = fs.readFileSync(path.join(process.argv[2], "web/js/storage.js"), "utf8");
const folder = "/home/web_user/.config/lumcrest";
const tick = () => new Promise((r) => setTimeout(r, 0));

// One browser profile: what its tabs share.
function profile() {
  const world = { records: new Map(), local: new Map(), quota: false, denied: false };
  let turn = Promise.resolve(); // read-write transactions run one after another
  world.indexedDB = {
    open() {
      if (world.denied) throw Object.assign(new Error("refused"), { name: "SecurityError" });
      const request = {};
      setTimeout(() => {
        request.result = { transaction: (store, mode) => transaction(mode), createObjectStore() {} };
        if (!world.created && request.onupgradeneeded) request.onupgradeneeded();
        world.created = true;
        request.onsuccess();
      });
      return request;
    },
  };
  function transaction(mode) {
    const tx = { queue: [], writes: new Map() };
    // As in a browser, a handler that throws is reported and the page goes on.
    const handle = (f) => {
      try {
        if (f) f();
      } catch (e) {
        world.thrown = (world.thrown || 0) + 1;
      }
    };
    const request = (work) => {
      const r = {};
      tx.queue.push(() => {
        r.result = work();
        handle(r.onsuccess);
      });
      return r;
    };
    const view = () => {
      const all = new Map(world.records);
      for (const [k, v] of tx.writes) v === undefined ? all.delete(k) : all.set(k, v);
      return all;
    };
    tx.objectStore = () => ({
      getAllKeys: () => request(() => [...view().keys()].sort()),
      getAll: () => request(() => [...view().keys()].sort().map((k) => view().get(k))),
      get: (k) => request(() => view().get(k)),
      put: (v, k) => request(() => tx.writes.set(k, v instanceof Uint8Array ? v.slice() : v)),
      delete: (k) => request(() => tx.writes.set(k, undefined)),
    });
    tx.abort = () => { tx.aborted = true; };
    const run = async () => {
      await tick();
      while (tx.queue.length && !tx.aborted) {
        tx.queue.shift()();
        await tick();
      }
      if (!tx.aborted && world.quota && tx.writes.size) {
        tx.error = Object.assign(new Error("quota"), { name: "QuotaExceededError" });
        tx.aborted = true;
      }
      if (tx.aborted) return handle(tx.onabort);
      for (const [k, v] of tx.writes) v === undefined ? world.records.delete(k) : world.records.set(k, v);
      handle(tx.oncomplete);
    };
    if (mode === "readwrite") turn = turn.then(run);
    else run();
    return tx;
  }
  const held = new Map();
  world.locks = {
    request(name, job) {
      const before = held.get(name) || Promise.resolve();
      const mine = before.then(() => job());
      held.set(name, mine.catch(() => {}));
      return mine;
    },
  };
  world.channels = [];
  return world;
}

// A tab of the game in WORLD: its folder, its page; resolves once the file is loaded.
async function tab(world) {
  const files = new Map();
  let clock = 1;
  const FS = {
    mkdirTree() {},
    readdir: () => [".", "..", ...files.keys()],
    stat(p) {
      const f = files.get(path.basename(p));
      if (!f) throw new Error("ENOENT");
      return { size: f.data.length, mode: 1, mtime: new Date(f.mtime) };
    },
    isFile: () => true,
    readFile(p, options) {
      const f = files.get(path.basename(p));
      if (!f) throw new Error("ENOENT");
      return options && options.encoding === "utf8" ? Buffer.from(f.data).toString("utf8") : f.data.slice();
    },
    writeFile(p, data) {
      if (path.dirname(p) !== folder) throw new Error("ENOENT " + p);
      if (typeof data === "string") data = new Uint8Array(Buffer.from(data, "utf8"));
      if (!(data instanceof Uint8Array)) throw new Error("Unsupported data type");
      files.set(path.basename(p), { data: data.slice(), mtime: ++clock });
    },
    unlink(p) {
      if (!files.delete(path.basename(p))) throw new Error("ENOENT");
    },
  };
  const page = { failed: [], warnings: 0, started: false };
  const channel = function () {
    world.channels.push(this);
    this.postMessage = () => world.channels.filter((c) => c !== this)
      .forEach((c) => setTimeout(() => c.onmessage && c.onmessage()));
  };
  const Module = { _lumcrest_storage_failed: (why) => page.failed.push(why), _lumcrest_page_hidden() {} };
  const context = {
    Module, FS, ENV: {}, console: { warn: () => ++page.warnings, log() {} },
    navigator: { languages: ["en"], locks: world.locks },
    indexedDB: world.indexedDB,
    localStorage: {
      getItem: (k) => (world.local.has(k) ? world.local.get(k) : null),
      setItem: (k, v) => world.local.set(k, String(v)),
      removeItem: (k) => world.local.delete(k),
    },
    BroadcastChannel: channel, document: { addEventListener() {} }, window: { addEventListener() {} },
    addRunDependency() {}, removeRunDependency: () => { page.started = true; },
    setTimeout, Uint8Array, ArrayBuffer, Promise, atob, btoa, Date, JSON, Math, Object, String, Error,
  };
  vm.runInNewContext(source, context);
  Module.preRun.forEach((f) => f());
  for (let i = 0; i < 200 && !page.started; ++i) await tick();
  Module.calledRun = true;
  page.storage = Module.lumcrest.storage;
  page.merge = Module.lumcrest.playerFile && Module.lumcrest.playerFile.merge;
  page.write = (text) => FS.writeFile(folder + "/lumcrest.ini", text);
  page.text = () => page.storage.text();
  return page;
}

const settle = async () => { for (let i = 0; i < 200; ++i) await tick(); };
const bytes = (text) => new Uint8Array(Buffer.from(text, "latin1"));
const stored = (world) => Buffer.from(world.records.get("lumcrest.ini") || []).toString("latin1");

let failures = 0;
function check(ok, what) {
  console.log((ok ? "ok: " : "FAILED: ") + what);
  if (!ok) ++failures;
}

// The high-score table's lines of a settings text: "name:score" best first.
function table(text) {
  const lines = [];
  const re = /\[Scoreline(\d+)\]\r?\nName=(.*)\r?\nScore=(.*)/g;
  for (let m; (m = re.exec(text));) lines[+m[1] - 1] = m[2] + ":" + m[3];
  return lines.join(" ");
}
function ini(settings, scores, game) {
  return "[Settings]\n" + settings.join("\n") + "\n" +
    scores.map(([n, s], i) => `[Scoreline${i + 1}]\nName=${n}\nScore=${s}\n`).join("") + (game || "");
}

async function damagedRecords() {
  const good = ini(["Name=Ada"], [["Ada", 400]]);
  const idbCases = {
    "a Blob": new Blob(["Name=x"]), "42": 42, "null": null, "an object": { files: 1 },
  };
  for (const [what, value] of Object.entries(idbCases)) {
    for (const key of ["lumcrest.ini.bak", "a/b"]) {
      const world = profile();
      world.records.set("lumcrest.ini", bytes(good));
      world.records.set(key, value);
      const page = await tab(world);
      check(page.started && page.text() === good && page.warnings > 0,
        `a stored record that is ${what} under "${key}" is left out and the game starts with the file`);
    }
  }
  const slashed = profile();
  slashed.records.set("lumcrest.ini", bytes(good));
  slashed.records.set("a/b", bytes("x"));
  slashed.records.set("#stamp", "yesterday");
  check((await tab(slashed)).started, "bytes under a path and a stamp that is no time do not stop the start");

  const localCases = [
    '{"stamp":2,"files":{"lumcrest.ini":"!!"}}', '{"stamp":2,"files":null}', '{"stamp":2}',
    '{"stamp":"2","files":{}}', '{"stamp":2,"files":{"a/b":"eA=="}}', '{"stamp":2,"files":{"x":5}}',
    "[1,2]", "42", "{not json",
  ];
  for (const words of localCases) {
    const world = profile();
    world.records.set("lumcrest.ini", bytes(good));
    world.records.set("#stamp", 1);
    world.local.set("lumcrest-player-file", words);
    const page = await tab(world);
    check(page.started && page.text() === good, `a closing page's copy ${words} is left out and the game starts`);
  }
  // A sound copy newer than IndexedDB's is still taken.
  const world = profile();
  world.records.set("lumcrest.ini", bytes(good));
  world.records.set("#stamp", 1);
  world.local.set("lumcrest-player-file", JSON.stringify({ stamp: 2, files: { "lumcrest.ini": btoa("Name=Bo\n") } }));
  check((await tab(world)).text() === "Name=Bo\n", "a sound closing page's copy, newer, is taken");
}

async function twoTabs() {
  const world = profile();
  const start = ini(["Name=Ada", "Music=1"], [["Ada", 400], ["Ada", 100]]);
  world.records.set("lumcrest.ini", bytes(start));
  world.records.set("#stamp", 1);
  const a = await tab(world), b = await tab(world);
  // Each tab's game merges its change into the file as that tab has it, before either hears of
  // the other's.
  a.write(ini(["Name=Ada", "Music=0"], [["Ada", 400], ["Cy", 300], ["Ada", 100]]));
  b.write(ini(["Name=Bob", "Music=1"], [["Bob", 500], ["Ada", 400], ["Ada", 100]], "[Techinfo]\nStage=3\n[Gembox]\nGem1=2\n"));
  a.storage.check();
  b.storage.check();
  await settle();
  const want = "Bob:500 Ada:400 Cy:300 Ada:100";
  const file = stored(world);
  check(table(file) === want, `both tabs' high scores are stored (${table(file)})`);
  check(/Music=0/.test(file) && /Name=Bob/.test(file), "each tab's changed setting is stored");
  check(/Stage=3/.test(file) && /Gem1=2/.test(file), "the game in progress a tab saved is stored");
  check(table(a.text()) === want && table(b.text()) === want, "both tabs hold both high scores");

  // Ten lines already: the merged table keeps the best ten.
  const full = Array.from({ length: 10 }, (_, i) => ["P" + i, 1000 - i * 100]);
  const withA = [full[0], ["A", 950]].concat(full.slice(1, 9)), withB = [["B", 1500]].concat(full.slice(0, 9));
  const merge = a.merge || (() => "");
  const merged = table(merge(ini([], full), ini([], withB), ini([], withA)));
  check(merged === "B:1500 P0:1000 A:950 " + full.slice(1, 8).map(([n, s]) => n + ":" + s).join(" "),
    `a merged table keeps the best ten (${merged})`);
  // The game in progress goes whole: sections another tab has that this one's game lacks go.
  const mixed = merge("[Techinfo]\nStage=1\n[Gembox]\nGem1=1\n", "[Techinfo]\nStage=2\n[Gembox]\nGem1=1\n",
    "[Techinfo]\nStage=5\n[Gembox]\nGem1=9\nGem2=9\n[Gemshape]\nShape1=1\n");
  check(!/Gem1=9|Gem2|Gemshape|Stage=5/.test(mixed) && /Stage=2/.test(mixed) && /Gem1=1/.test(mixed),
    "a saved game is never mixed from two tabs'");
}

async function refusedStorage() {
  const world = profile();
  const page = await tab(world);
  world.quota = true;
  page.write("[Settings]\nName=Ada\n");
  page.storage.check();
  await settle();
  page.write("[Settings]\nName=Bob\n");
  page.storage.check();
  await settle();
  check(page.failed.join() === "0", `storage found full is said once (${page.failed})`);
  world.quota = false;
  page.storage.check();
  await settle();
  check(/Name=Bob/.test(stored(world)), "once there is room again, the change is stored");

  // A lock the browser refuses: the change is stored without it.
  const lockless = profile();
  lockless.locks = { request: () => Promise.reject(Object.assign(new Error("no"), { name: "SecurityError" })) };
  const alone = await tab(lockless);
  alone.write("[Settings]\nName=Cy\n");
  alone.storage.check();
  await settle();
  check(/Name=Cy/.test(stored(lockless)), "without the tabs' lock a change is still stored");

  const denied = profile();
  denied.denied = true;
  const refused = await tab(denied);
  await settle();
  check(refused.started && refused.failed.join() === "1", "storage the browser refuses is said, and the game starts");
}

(async () => {
  await damagedRecords();
  await twoTabs();
  await refusedStorage();
  process.exit(failures ? 1 : 0);
})().catch((e) => {
  console.error(e);
  process.exit(1);
});
