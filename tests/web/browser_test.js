// The web build in a real browser: headless Chromium loads the page from scripts/serve-web.sh,
// plays a first start by keyboard (a name, the menu, a launch) and compares the canvas with the
// desktop driver's shots of the same steps; reloads and finds the game in progress restored;
// checks that a second tab's change and the first tab's saved game both reach the file; starts
// over damaged stored records; says on the page that full storage keeps nothing; and plays
// another first start by touch and by a controller; and names in Hebrew, Arabic, Chinese and
// emoji on the welcome plate, drawn by faces the page downloads only when a name needs them.
// usage: node browser_test.js ROOT NATIVE_DRIVER
"use strict";
const { spawn, execFileSync } = require("child_process");
const fs = require("fs");
const net = require("net");
const os = require("os");
const path = require("path");
const { Browser } = require("./cdp");

const [root, nativeDriver] = process.argv.slice(2);
const work = fs.mkdtempSync(path.join(os.tmpdir(), "lumcrest-web-test-"));
const seed = 7;

// The steps, as the driver's commands and as the browser's keys ([key, code, vk, text]).
const typed = [["k", "KeyK", 75, "k"], ["i", "KeyI", 73, "i"], ["m", "KeyM", 77, "m"]];
const steps = [
  { name: "name-box", keys: [], wait: 500 },
  { name: "menu", keys: [...typed, ["Enter", "Enter", 13]], wait: 200 },
  { name: "first-game", keys: [["ArrowDown", "ArrowDown", 40], ["Enter", "Enter", 13]], wait: 300 },
  { name: "launched", keys: [["ArrowRight", "ArrowRight", 39], ["ArrowUp", "ArrowUp", 38]], wait: 700 },
];
// In a browser that asks for German: the name box, tapped, typed into by an on-screen keyboard;
// its Ok, tapped; then the controller lights Play and presses it.
const nameBox = [415, 342];
const ok = [407, 454];

function driverScript() {
  const lines = ["start"];
  for (const s of steps) {
    for (const [, , vk, text] of s.keys) {
      lines.push("key " + vk);
      if (text) lines.push("text " + text);
    }
    lines.push("wait " + s.wait, "shot " + path.join(work, s.name + ".png"));
  }
  lines.push("close");
  return lines.join("\n") + "\n";
}

// The lines of section NAME of an ini text.
function section(text, name) {
  const m = new RegExp("\\[" + name + "\\]\\r?\\n([^[]*)").exec(text || "");
  return m ? m[1].trim() : null;
}

// The desktop driver's frames: the steps, then a later start with the file they left, a launch
// and a close (its board is what the file must keep); and a first start by touch and controller.
function referenceShots() {
  const run = (home, input, language = { LC_ALL: "C" }) => {
    fs.mkdirSync(home, { recursive: true });
    execFileSync(nativeDriver, ["--home", home, "--seed", String(seed)], { input, env: { ...process.env, ...language } });
  };
  const home = path.join(work, "home");
  run(home, driverScript());
  run(home, "start\nwait 100\nshot " + path.join(work, "restored.png") + "\nkey 38\nwait 700\nclose\n");
  run(path.join(work, "home2"), `start\nwait 300\nmove ${nameBox.join(" ")}\nclick ${nameBox.join(" ")}\n` +
    `text Zoë\nwait 100\nshot ${path.join(work, "typed.png")}\n` +
    `move ${ok.join(" ")}\nclick ${ok.join(" ")}\nwait 100\n` +
    `pad dpdown\npad a\nwait 300\nshot ${path.join(work, "touch-and-pad.png")}\n`,
    { LC_ALL: "", LC_MESSAGES: "", LANG: "", LANGUAGE: "de_DE:de" });
  return section(fs.readFileSync(path.join(home, "lumcrest.ini"), "latin1"), "Gembox");
}

// Names in other scripts, typed into the name box of a first start (in English), then changed
// through "Click to change user": each shown on the welcome plate.
const names = [
  { file: "name-hebrew", name: "שלום😀é", emoji: true },
  { file: "name-arabic-cjk", name: "سلام 山田", emoji: false },
];
const changeUser = [351, 81];
// Where the name stands on the welcome plate.
const nameArea = { x: 413, y: 40, w: 436, h: 40 };

function namesScript(list) {
  const lines = ["start", "wait 300"];
  list.forEach((n, i) => {
    if (i > 0) lines.push(`move ${changeUser.join(" ")}`, `click ${changeUser.join(" ")}`, "wait 300");
    lines.push(`move ${nameBox.join(" ")}`, `click ${nameBox.join(" ")}`);
    if (i > 0) for (let k = 0; k < 12; ++k) lines.push("key 8");
    lines.push(`text ${n.name}`, "wait 100", `move ${ok.join(" ")}`, `click ${ok.join(" ")}`, "wait 100",
      `shot ${path.join(work, n.file + ".png")}`);
  });
  return lines.join("\n") + "\n";
}

function nameShots() {
  const run = (home, input) => {
    fs.mkdirSync(home, { recursive: true });
    execFileSync(nativeDriver, ["--home", home, "--seed", String(seed)], { input, env: { ...process.env, LC_ALL: "C" } });
  };
  run(path.join(work, "home3"), namesScript(names));
  run(path.join(work, "home4"), namesScript([{ file: "name-plain", name: "é" }]));
}

function freePort() {
  return new Promise((resolve) => {
    const s = net.createServer().listen(0, "127.0.0.1", () => {
      const port = s.address().port;
      s.close(() => resolve(port));
    });
  });
}

// Page code that draws PNG (base64) on a canvas of its own: img and ctx.
function shotOnCanvas(png) {
  return `const img = new Image();
    img.src = "data:image/png;base64,${png}";
    await img.decode();
    const own = document.createElement("canvas");
    own.width = img.width; own.height = img.height;
    const ctx = own.getContext("2d");
    ctx.drawImage(img, 0, 0);`;
}

// How many pixels of the page's canvas differ from the PNG file SHOT (by more than TOLERANCE in
// a channel). With LUMCREST_KEEP set the canvas is written beside the shot (NAME.canvas.png) and
// the folder kept, for a look at both.
async function differingPixels(page, shot, tolerance = 0) {
  if (process.env.LUMCREST_KEEP) {
    const url = await page.eval("document.getElementById('game').toDataURL('image/png')");
    fs.writeFileSync(shot.replace(/\.png$/, ".canvas.png"), Buffer.from(url.split(",")[1], "base64"));
  }
  const png = fs.readFileSync(shot).toString("base64");
  return page.eval(`(async () => {
    ${shotOnCanvas(png)}
    const a = ctx.getImageData(0, 0, img.width, img.height).data;
    const game = document.getElementById("game");
    if (game.width !== img.width || game.height !== img.height)
      return "canvas " + game.width + "x" + game.height + ", shot " + img.width + "x" + img.height;
    const b = game.getContext("2d").getImageData(0, 0, game.width, game.height).data;
    let n = 0;
    const t = ${tolerance};
    for (let i = 0; i < a.length; i += 4)
      if (Math.abs(a[i] - b[i]) > t || Math.abs(a[i + 1] - b[i + 1]) > t || Math.abs(a[i + 2] - b[i + 2]) > t) ++n;
    return n;
  })()`);
}

// In the name's place on the canvas: how many pixels differ from the shot PLAIN (the name "é"),
// and how many are an emoji's yellow (no letter of the game's is drawn in it).
async function nameInk(page, plain) {
  const png = fs.readFileSync(plain).toString("base64");
  return page.eval(`(async () => {
    ${shotOnCanvas(png)}
    const r = ${JSON.stringify(nameArea)};
    const a = ctx.getImageData(r.x, r.y, r.w, r.h).data;
    const b = document.getElementById("game").getContext("2d").getImageData(r.x, r.y, r.w, r.h).data;
    let ink = 0, yellow = 0;
    for (let i = 0; i < a.length; i += 4) {
      if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2]) ++ink;
      if (b[i] > 200 && b[i + 1] > 150 && b[i + 2] < 90) ++yellow;
    }
    return [ink, yellow];
  })()`);
}

async function started(page) {
  await page.until("window.Module && Module.lumcrest && Module.lumcrest.shell.marks['first-frame']", 30000);
}

let failures = 0;
function check(ok, what) {
  console.log((ok ? "ok: " : "FAILED: ") + what);
  if (!ok) ++failures;
}

async function firstStartAndReload(first) {
  await started(first);
  const bar = await first.eval("[document.getElementById('progress').value, document.getElementById('loading').hidden]");
  check(bar[0] === 1 && bar[1] === true, `the progress bar filled, then made way for the game (${bar})`);
  for (const s of steps) {
    for (const [key, code, vk, text] of s.keys) await first.key(key, code, vk, text);
    await first.eval(`Module._lumcrest_advance(${s.wait})`);
    const n = await differingPixels(first, path.join(work, s.name + ".png"));
    check(n === 0, `${s.name}: the canvas shows the driver's frame (${n} pixels differ)`);
  }
  // The keys let sound start: the game's track plays in the browser, once decoded.
  const playing = "Module.lumcrest.sound.state().context === 'running' && " +
    "/(^|\\/)music\\.mp3$/.test(Module.lumcrest.sound.state().music)";
  const heard = await first.until(playing).then(() => true, () => false);
  check(heard, "the game's track is heard: " + JSON.stringify(await first.eval("Module.lumcrest.sound.state()")));
  await first.send("Page.reload");
  await started(first);
  await first.eval("Module._lumcrest_advance(100)");
  const n = await differingPixels(first, path.join(work, "restored.png"));
  check(n === 0, `after a reload the game in progress is back (${n} pixels differ)`);
  if (n !== 0) console.log("after the reload the file holds:\n" + (await first.eval("Module.lumcrest.storage.text()")));
}

// The settings file as the game's next start in this browser takes it: IndexedDB's copy, or the
// folder a closing page left in localStorage when that is newer.
const storedFile = `new Promise((resolve) => {
  const open = indexedDB.open("lumcrest-player");
  open.onsuccess = () => {
    const tx = open.result.transaction("files"), files = tx.objectStore("files");
    const ini = files.get("lumcrest.ini"), stamp = files.get("#stamp");
    tx.oncomplete = () => {
      open.result.close();
      const words = JSON.parse(localStorage.getItem("lumcrest-player-file") || "null");
      if (words && words.stamp > (stamp.result || 0) && words.files["lumcrest.ini"])
        return resolve(atob(words.files["lumcrest.ini"]));
      resolve(ini.result ? new TextDecoder("latin1").decode(ini.result) : null);
    };
  };
  open.onerror = () => resolve(null);
})`;

// A second tab opens the menu, turns calm mode on, opens the web page and closes; then the first tab launches a bar
// and closes, keeping its game, the last closed. Neither may lose the other's.
async function secondTab(browser, first, url, laterBoard) {
  const second = await browser.newPage(url);
  await started(second);
  await second.click(730, 555);
  await second.key("c", "KeyC", 67, "c");
  await second.until("/Calm=1/.test(Module.lumcrest.storage.text())");
  // The logo opens the game's web page, served beside it, in a new tab.
  await second.eval("window.open = (url, target) => { window.lumcrestOpened = [url, target]; }");
  await second.move(135, 535);
  const hand = await second.eval("document.getElementById('game').style.cursor");
  check(hand === "pointer", `the pointer is a hand over the logo (${hand})`);
  await second.click(135, 535);
  const [page, target] = (await second.eval("window.lumcrestOpened")) || [];
  const served = page && (await second.eval(`fetch(${JSON.stringify(page)}).then((r) => r.ok)`));
  check(target === "_blank" && served, `the logo opens the web page ${page} in a new tab`);
  await second.send("Page.navigate", { url: "about:blank" });
  // The first tab has read the change back before it writes again (storing and reading back
  // take a moment: a change made within it would merge into the file as it was).
  await first.until("/Calm=1/.test(Module.lumcrest.storage.text())");
  await first.key("ArrowUp", "ArrowUp", 38);
  await first.eval("Module._lumcrest_advance(700)");
  await first.send("Page.navigate", { url: "about:blank" });
  // What the closing tab stored may take a moment to land: the file is read (as the next start
  // would take it) from a page of the site that is not the game, until it holds both or 10 s pass.
  const reader = await browser.newPage(url.replace(/\?.*/, "") + "data/lumcrest.html");
  let text = null;
  for (let waited = 0; waited < 10000; waited += 250) {
    text = await reader.eval(storedFile);
    if (/Calm=1/.test(text || "") && section(text, "Gembox") === laterBoard) break;
    await new Promise((r) => setTimeout(r, 250));
  }
  check(/Calm=1/.test(text || ""), "the second tab's calm mode is in the file");
  check(/Name=kim/.test(text || ""), "the first tab's name is in the file");
  check(laterBoard && section(text, "Gembox") === laterBoard, "the first tab's game in progress is in the file");
  if (failures) console.log("expected board:\n" + laterBoard + "\nsettings file:\n" + text);
}

// Damaged records beside the file in the browser's own storage (a Blob, a number, nothing, a
// name with a slash, a stamp that is no time) and a damaged copy of a closing page: the game
// starts, with the file it had.
async function damagedRecords(browser, url) {
  const reader = await browser.newPage(url.replace(/\?.*/, "") + "data/lumcrest.html");
  await reader.eval(`new Promise((resolve, reject) => {
    const open = indexedDB.open("lumcrest-player", 1);
    open.onsuccess = () => {
      const tx = open.result.transaction("files", "readwrite"), files = tx.objectStore("files");
      files.put(new Blob(["Name=x"]), "lumcrest.ini.bak");
      files.put(42, "x");
      files.put(null, "y");
      files.put(new Uint8Array([65]), "a/b");
      files.put("yesterday", "#stamp");
      tx.oncomplete = () => { open.result.close(); resolve(); };
      tx.onabort = () => reject(tx.error);
    };
    open.onerror = () => reject(open.error);
  })`);
  await reader.eval(`localStorage.setItem("lumcrest-player-file", '{"stamp":2,"files":{"lumcrest.ini":"!!"}}')`);
  const page = await browser.newPage(url);
  const up = await started(page).then(() => true, () => false);
  const text = up ? await page.eval("Module.lumcrest.storage.text()") : "";
  check(up && /Name=kim/.test(text || ""), "damaged stored records are left out and the game starts with the file");
  return page;
}

// The site's storage full (a quota of one byte, set while the page is the only one of the site
// in a fresh profile; 0 would lift the quota): what the page stores next does not fit (the folder
// has grown by a file of a megabyte), the page says that nothing is being kept, and the game
// plays on.
async function fullStorage(browser, url) {
  const page = await browser.newPage(url, true);
  await started(page);
  await page.send("Storage.overrideQuotaForOrigin", { origin: new URL(url).origin, quotaSize: 1 });
  await page.eval(`Module.FS.writeFile("/home/web_user/.config/lumcrest/grown", new Uint8Array(1 << 20));
    Module.lumcrest.storage.check()`);
  const said = await page.until("!document.getElementById('notice').hidden", 10000).then(() => true, () => false);
  const line = await page.eval("document.getElementById('notice').textContent");
  check(said && /storage for this site is full/.test(line), `full storage is said on the page ("${line}")`);
  await page.eval("Module._lumcrest_advance(100)");
  const alive = await page.eval("!document.getElementById('game').hidden && document.getElementById('message').hidden");
  check(alive, "the game plays on under the line");
  await page.send("Page.navigate", { url: "about:blank" });
}

// A controller the page's Gamepad API reports: the browser's standard layout, nothing held.
const fakePad = `(() => {
  const pad = { connected: true, index: 0, mapping: "standard", axes: [0, 0, 0, 0],
    buttons: Array.from({ length: 17 }, () => ({ pressed: false, value: 0 })) };
  navigator.getGamepads = () => [pad];
  window.lumcrestTestPad = pad;
})()`;

// Presses and releases standard button B of the fake controller, a few frames each.
function padPress(b) {
  const frames = "new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)))";
  return `(async () => {
    const button = window.lumcrestTestPad.buttons[${b}];
    button.pressed = true;
    await ${frames};
    button.pressed = false;
    await ${frames};
  })()`;
}

async function touchAndPad(browser, url) {
  const page = await browser.newPage(undefined, true);
  const userAgent = await page.eval("navigator.userAgent");
  await page.send("Emulation.setUserAgentOverride", { userAgent, acceptLanguage: "de-DE,de" });
  await page.send("Page.addScriptToEvaluateOnNewDocument", { source: fakePad });
  await page.go(url);
  await started(page);
  await page.eval("Module._lumcrest_advance(300)");
  await page.tap(...nameBox);
  await page.send("Input.insertText", { text: "Zoë" });
  await page.eval("Module._lumcrest_advance(100)");
  const typed = await differingPixels(page, path.join(work, "typed.png"));
  check(typed === 0, `an on-screen keyboard types into the name box (${typed} pixels differ)`);
  await page.tap(ok[0], ok[1]);
  await page.eval("Module._lumcrest_advance(100)");
  await page.eval("window.dispatchEvent(new Event('gamepadconnected'))");
  await page.eval(padPress(13));
  await page.eval(padPress(0));
  await page.eval("Module._lumcrest_advance(300)");
  const n = await differingPixels(page, path.join(work, "touch-and-pad.png"));
  check(n === 0, `a first start by touch and controller, in German, shows the driver's frame (${n} pixels differ)`);
}

// Names in every script: the faces come when a name needs them, and the welcome plate shows each
// name as the desktop draws it, with glyphs where its letters are.
async function namesInEveryScript(browser, url) {
  const page = await browser.newPage(url, true);
  await started(page);
  await page.eval("Module._lumcrest_advance(300)");
  const before = await page.eval("Object.keys(Module.lumcrest.data.fontParts).length");
  check(before === 0, `no face beyond the game's own is downloaded for an English first start (${before})`);
  for (let i = 0; i < names.length; ++i) {
    const n = names[i];
    if (i > 0) {
      await page.click(...changeUser);
      await page.eval("Module._lumcrest_advance(300)");
    }
    await page.tap(...nameBox);
    if (i > 0) for (let k = 0; k < 12; ++k) await page.key("Backspace", "Backspace", 8);
    await page.send("Input.insertText", { text: n.name });
    await page.eval("Module._lumcrest_advance(100)");
    await page.tap(ok[0], ok[1]);
    await page.eval("Module._lumcrest_advance(100)");
    // The faces the name needs, downloaded, drawn in.
    await page.eval("Promise.all(Object.values(Module.lumcrest.data.fontParts))");
    const parts = await page.eval("Object.keys(Module.lumcrest.data.fontParts).join(' ')");
    const [ink, yellow] = await nameInk(page, path.join(work, "name-plain.png"));
    check(ink > 150 * [...n.name].length / 2, `${n.name}: the welcome plate shows its letters (${ink} pixels ` +
      `beside the name "é"; faces downloaded: ${parts})`);
    if (n.emoji) check(yellow > 40, `${n.name}: the emoji is drawn in colour (${yellow} yellow pixels)`);
    // The page's faces are cut down from the desktop's: their hinting may round a shade by one.
    const same = await differingPixels(page, path.join(work, n.file + ".png"), 2);
    check(same === 0, `${n.name}: the canvas shows the driver's frame (${same} pixels differ)`);
  }
  await page.send("Page.navigate", { url: "about:blank" });
}

async function main() {
  const laterBoard = referenceShots();
  nameShots();
  const port = await freePort();
  const server = spawn(path.join(root, "scripts/serve-web.sh"), [String(port)], { stdio: "ignore" });
  const browser = new Browser("/usr/bin/chromium");
  const url = `http://127.0.0.1:${port}/?seed=${seed}&clock=test`;
  try {
    for (let i = 0; i < 100; ++i) {
      try {
        await new Promise((res, rej) => net.connect(port, "127.0.0.1", res).on("error", rej));
        break;
      } catch (e) {
        await new Promise((r) => setTimeout(r, 100));
      }
    }
    const first = await browser.newPage(url);
    await firstStartAndReload(first);
    await secondTab(browser, first, url, laterBoard);
    await damagedRecords(browser, url);
    await fullStorage(browser, url);
    await touchAndPad(browser, url);
    await namesInEveryScript(browser, url);
  } finally {
    await browser.close();
    server.kill();
    if (process.env.LUMCREST_KEEP) console.log("kept " + work);
    else fs.rmSync(work, { recursive: true, force: true });
  }
  process.exit(failures ? 1 : 0);
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
