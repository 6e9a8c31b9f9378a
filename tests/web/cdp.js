// A small client of Chromium's DevTools protocol over the pipe it opens with
// --remote-debugging-pipe (messages of JSON, each ended by a zero byte): enough to open pages,
// press keys, run scripts in them and reload them, with nothing but Node.
"use strict";
const { spawn } = require("child_process");
const fs = require("fs");
const os = require("os");
const path = require("path");

class Browser {
  constructor(executable) {
    this.profile = fs.mkdtempSync(path.join(os.tmpdir(), "lumcrest-chromium-"));
    const args = ["--headless=new", "--remote-debugging-pipe", "--no-first-run",
      "--no-default-browser-check", "--disable-gpu", "--mute-audio", "--disable-dev-shm-usage",
      "--user-data-dir=" + this.profile, "--window-size=1000,700", "about:blank"];
    // Chromium's sandbox needs an unprivileged user: CI runs the tests as root. A container's
    // small /dev/shm would crash its renderers: --disable-dev-shm-usage keeps them off it.
    if (process.getuid && process.getuid() === 0) args.unshift("--no-sandbox");
    // Its temporary files (the singleton's socket folder among them, left behind when it is
    // killed) go into the profile, which close() removes.
    const tmp = path.join(this.profile, "tmp");
    fs.mkdirSync(tmp);
    this.child = spawn(executable, args, {
      stdio: ["ignore", "ignore", "pipe", "pipe", "pipe"], env: { ...process.env, TMPDIR: tmp },
    });
    this.log = "";
    this.child.stderr.on("data", (d) => { this.log += d; });
    this.out = this.child.stdio[3];
    this.next = 1;
    this.waiting = new Map();
    this.listeners = [];
    let rest = "";
    this.child.stdio[4].on("data", (chunk) => {
      const parts = (rest + chunk.toString("utf8")).split("\0");
      rest = parts.pop();
      for (const part of parts) this.receive(JSON.parse(part));
    });
  }

  receive(msg) {
    if (msg.id && this.waiting.has(msg.id)) {
      const { resolve, reject } = this.waiting.get(msg.id);
      this.waiting.delete(msg.id);
      if (msg.error) reject(new Error(msg.error.message));
      else resolve(msg.result);
    } else if (msg.method) {
      for (const l of this.listeners) l(msg);
    }
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.next++;
    const msg = { id, method, params };
    if (sessionId) msg.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      this.waiting.set(id, { resolve, reject });
      this.out.write(JSON.stringify(msg) + "\0");
    });
  }

  // A new tab at URL; FRESH puts it in a browser context of its own (no cache, no storage).
  async newPage(url, fresh = false) {
    let browserContextId;
    if (fresh) ({ browserContextId } = await this.send("Target.createBrowserContext"));
    const { targetId } = await this.send("Target.createTarget", { url: "about:blank", browserContextId });
    const { sessionId } = await this.send("Target.attachToTarget", { targetId, flatten: true });
    const page = new Page(this, sessionId, targetId);
    await page.send("Runtime.enable");
    await page.send("Page.enable");
    if (url) await page.go(url);
    return page;
  }

  async close() {
    const exited = new Promise((r) => this.child.once("exit", r));
    try {
      await Promise.race([this.send("Browser.close"), new Promise((r) => setTimeout(r, 3000))]);
    } finally {
      if (this.child.exitCode === null) this.child.kill();
      await Promise.race([exited, new Promise((r) => setTimeout(r, 3000))]);
      fs.rmSync(this.profile, { recursive: true, force: true, maxRetries: 5 });
    }
  }
}

class Page {
  constructor(browser, sessionId, targetId) {
    this.browser = browser;
    this.sessionId = sessionId;
    this.targetId = targetId;
    this.console = [];
    browser.listeners.push((msg) => {
      if (msg.sessionId !== sessionId) return;
      if (msg.method === "Runtime.consoleAPICalled")
        this.console.push(msg.params.args.map((a) => a.value).join(" "));
      if (msg.method === "Runtime.exceptionThrown")
        this.console.push("exception: " + JSON.stringify(msg.params.exceptionDetails));
    });
  }

  send(method, params = {}) {
    return this.browser.send(method, params, this.sessionId);
  }

  async go(url) {
    await this.send("Page.navigate", { url });
  }

  // The value of EXPRESSION in the page (a promise is waited for).
  async eval(expression) {
    const r = await this.send("Runtime.evaluate", { expression, awaitPromise: true, returnByValue: true });
    if (r.exceptionDetails) throw new Error("in the page: " + JSON.stringify(r.exceptionDetails));
    return r.result.value;
  }

  // Waits until EXPRESSION is true in the page, at most MS milliseconds.
  async until(expression, ms = 10000) {
    const end = Date.now() + ms;
    for (;;) {
      let ok = false;
      try {
        ok = await this.eval("!!(" + expression + ")");
      } catch (e) {
        ok = false;
      }
      if (ok) return;
      if (Date.now() > end) throw new Error("timed out waiting for " + expression);
      await new Promise((r) => setTimeout(r, 50));
    }
  }

  // One key press and release, as a keyboard gives it: KEY is the DOM's key name, VK its
  // Windows virtual-key code; TEXT the character it types, if any.
  async key(key, code, vk, text) {
    const base = { key, code, windowsVirtualKeyCode: vk, nativeVirtualKeyCode: vk };
    await this.send("Input.dispatchKeyEvent", { type: text ? "keyDown" : "rawKeyDown", text, ...base });
    await this.send("Input.dispatchKeyEvent", { type: "keyUp", ...base });
  }

  // The page's point over pixel (x, y) of the game's frame, wherever the page put the canvas.
  async onFrame(x, y) {
    return this.eval(`(() => {
      const r = document.getElementById("game").getBoundingClientRect();
      const f = Module.lumcrest.screen.frame();
      return [r.left + ((${x} + 0.5) * r.width) / f.width, r.top + ((${y} + 0.5) * r.height) / f.height];
    })()`);
  }

  async move(x, y) {
    [x, y] = await this.onFrame(x, y);
    await this.send("Input.dispatchMouseEvent", { type: "mouseMoved", x, y });
  }

  async click(x, y) {
    [x, y] = await this.onFrame(x, y);
    for (const type of ["mousePressed", "mouseReleased"])
      await this.send("Input.dispatchMouseEvent", { type, x, y, button: "left", clickCount: 1 });
  }

  // One finger down and up at pixel (x, y) of the frame.
  async tap(x, y) {
    [x, y] = await this.onFrame(x, y);
    await this.send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: [{ x, y }] });
    await this.send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [] });
  }
}

module.exports = { Browser, Page };
