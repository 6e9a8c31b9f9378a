#!/usr/bin/env node
// The README's picture of the game in a browser: headless Chromium plays a first start from
// scripts/serve-web.sh (a name, Play, a few bars launched) and the page is captured whole into
// docs/screenshots/web-chromium.png.   usage: node scripts/screenshot-web.js (after build-web.sh)
"use strict";
const { spawn } = require("child_process");
const fs = require("fs");
const path = require("path");
const { Browser } = require("../tests/web/cdp");

const root = path.resolve(__dirname, "..");
const port = 8790;

async function main() {
  const server = spawn(path.join(root, "scripts/serve-web.sh"), [String(port)], { stdio: "ignore" });
  await new Promise((r) => setTimeout(r, 1000));
  const browser = new Browser("/usr/bin/chromium");
  try {
    const page = await browser.newPage();
    await page.send("Emulation.setDeviceMetricsOverride", { width: 900, height: 620, deviceScaleFactor: 1, mobile: false });
    await page.go(`http://127.0.0.1:${port}/?seed=3&clock=test`);
    await page.until("window.Module && Module.lumcrest && Module.lumcrest.shell.marks['first-frame']", 30000);
    const keys = [["A", "KeyA", 65, "A"], ["d", "KeyD", 68, "d"], ["a", "KeyA", 65, "a"], ["Enter", "Enter", 13],
      ["ArrowDown", "ArrowDown", 40], ["Enter", "Enter", 13], ["ArrowLeft", "ArrowLeft", 37]];
    for (const k of keys) await page.key(...k);
    await page.eval("Module._lumcrest_advance(500)");
    const moves = [[37, "ArrowLeft"], [38, "ArrowUp"], [39, "ArrowRight"], [39, "ArrowRight"], [38, "ArrowUp"],
      [40, "ArrowDown"], [38, "ArrowUp"], [39, "ArrowRight"], [38, "ArrowUp"]];
    for (const [vk, key] of moves) {
      await page.key(key, key, vk);
      await page.eval(`Module._lumcrest_advance(${vk === 38 ? 1500 : 100})`);
    }
    const shot = await page.send("Page.captureScreenshot", { format: "png" });
    const out = path.join(root, "docs/screenshots/web-chromium.png");
    fs.writeFileSync(out, Buffer.from(shot.data, "base64"));
    console.log("wrote " + path.relative(root, out));
  } finally {
    await browser.close();
    server.kill();
  }
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
