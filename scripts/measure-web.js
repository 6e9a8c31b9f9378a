#!/usr/bin/env node
// The web build's figures for docs/performance.md: the compressed download (gzip -9 of what the
// page fetches: the page, the script, the module, the common data and one language's pack), the
// time from page load to the first frame in headless Chromium from a local server (each run in a
// fresh browser context: nothing cached, no player's file), and the idle CPU of the whole browser
// at the menu with music, over 20 s, as the desktop's is measured.
// usage: node scripts/measure-web.js [RUNS]    (after scripts/build-web.sh)
"use strict";
const { spawn } = require("child_process");
const fs = require("fs");
const net = require("net");
const path = require("path");
const zlib = require("zlib");
const { Browser } = require("../tests/web/cdp");

const root = path.resolve(__dirname, "..");
const site = path.join(root, "build-web/site");
const runs = +(process.argv[2] || 5);
const MiB = 1024 * 1024;

function gz(file) {
  return zlib.gzipSync(fs.readFileSync(path.join(site, file)), { level: 9 }).length;
}

function downloads() {
  const common = ["index.html", "lumcrest.js", "lumcrest.wasm", "common.json", "common.pack"];
  const base = common.reduce((n, f) => n + gz(f), 0);
  const langs = fs.readdirSync(site).filter((f) => /^lang-.*\.pack$/.test(f));
  const perLang = langs.map((f) => [f.slice(5, -5), gz(f) + gz(f.replace(".pack", ".json"))]);
  const worst = perLang.reduce((a, b) => (b[1] > a[1] ? b : a), ["", 0]);
  return { english: base, worst: worst[0], worstTotal: base + worst[1] };
}

// Every process under PID: its user plus system seconds and Chromium's process type (browser,
// renderer, gpu-process, utility: the audio service among them).
function tree(pid) {
  const tick = 100;
  const parents = {}, cpu = {};
  for (const p of fs.readdirSync("/proc").filter((d) => /^\d+$/.test(d))) {
    try {
      const f = fs.readFileSync(`/proc/${p}/stat`, "utf8").split(") ")[1].split(" ");
      parents[p] = f[1];
      cpu[p] = (+f[11] + +f[12]) / tick;
    } catch (e) {}
  }
  const out = {};
  for (const p of Object.keys(cpu)) {
    for (let q = p; q && q !== "0"; q = parents[q])
      if (q === String(pid)) {
        let type = "browser";
        try {
          const m = /--type=([a-z-]+)/.exec(fs.readFileSync(`/proc/${p}/cmdline`, "utf8"));
          if (m) type = m[1];
        } catch (e) {}
        out[p] = { type, cpu: cpu[p] };
        break;
      }
  }
  return out;
}

// The share of a core the browser used over SECONDS, in all and by process type (processes that
// ended meanwhile left their time with them: only what the living ones used counts).
async function idle(pid, seconds) {
  const before = tree(pid);
  await new Promise((r) => setTimeout(r, seconds * 1000));
  const after = tree(pid);
  const used = { total: 0 };
  for (const [p, { type, cpu }] of Object.entries(after)) {
    const d = cpu - (before[p] ? before[p].cpu : 0);
    used[type] = (used[type] || 0) + d;
    used.total += d;
  }
  const share = (k) => ((used[k] / seconds) * 100).toFixed(2) + " %";
  const parts = Object.keys(used).filter((k) => k !== "total" && k !== "zygote").map((k) => k + " " + share(k));
  return share("total") + " of a core (" + parts.join(", ") + ")";
}

function median(xs) {
  const s = [...xs].sort((a, b) => a - b);
  return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
}

function freePort() {
  return new Promise((resolve) => {
    const s = net.createServer().listen(0, "127.0.0.1", () => {
      const port = s.address().port;
      s.close(() => resolve(port));
    });
  });
}

async function freshPage(browser, url) {
  const page = await browser.newPage(url, true);
  await page.until("window.Module && Module.lumcrest && Module.lumcrest.shell.marks['first-frame']", 60000);
  return page;
}

async function main() {
  const d = downloads();
  console.log(`download, compressed (gzip -9): ${(d.english / MiB).toFixed(2)} MiB in English, ` +
    `${(d.worstTotal / MiB).toFixed(2)} MiB in the largest language (${d.worst}); goal <= 8 MiB`);
  const port = await freePort();
  const server = spawn(path.join(root, "scripts/serve-web.sh"), [String(port)], { stdio: "ignore" });
  await new Promise((r) => setTimeout(r, 1000));
  const browser = new Browser("/usr/bin/chromium");
  const url = `http://127.0.0.1:${port}/`;
  try {
    const firsts = [];
    for (let i = 0; i < runs; ++i) {
      const page = await freshPage(browser, url);
      firsts.push(await page.eval("Module.lumcrest.shell.marks['first-frame']"));
      await browser.send("Target.closeTarget", { targetId: page.targetId });
    }
    console.log(`page load to first frame: median ${median(firsts).toFixed(0)} ms of ${runs} ` +
      `(${firsts.map((t) => t.toFixed(0)).join(", ")}); goal <= 1500 ms`);
    // The browser's own cost: an empty page beside nothing else.
    const blank = await browser.newPage("about:blank");
    console.log("an empty page, whole browser (for comparison): " + (await idle(browser.child.pid, 20)));
    await browser.send("Target.closeTarget", { targetId: blank.targetId });
    // Idle at the name box of a first start (no sound yet: it waits for a key), then at the
    // menu with music after the name: 5 s for the first sparkles, then 20 s each.
    const page = await freshPage(browser, url);
    await new Promise((r) => setTimeout(r, 5000));
    console.log("idle at the name box, no sound yet, whole browser: " + (await idle(browser.child.pid, 20)));
    for (const [key, code, vk, text] of [["k", "KeyK", 75, "k"], ["Enter", "Enter", 13]])
      await page.key(key, code, vk, text);
    await new Promise((r) => setTimeout(r, 5000));
    console.log("idle at the menu, music on, whole browser: " + (await idle(browser.child.pid, 20)));
  } finally {
    await browser.close();
    server.kill();
  }
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
