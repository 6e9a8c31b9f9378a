// The page downloads the pictures of the language the game will speak before the game runs, so
// web/js/data.js chooses it by the game's own rules. This holds its choice to the game's: the
// desktop driver starts with each settings file and language list, and the caption it shows
// says which language the game took.
// usage: node language_choice_test.js ROOT NATIVE_DRIVER
"use strict";
const { execFileSync } = require("child_process");
const fs = require("fs");
const os = require("os");
const path = require("path");
const vm = require("vm");

const [root, driver] = process.argv.slice(2);
const page = { Module: {} };
vm.runInNewContext(fs.readFileSync(path.join(root, "web/js/data.js"), "utf8"), page);
const choose = page.Module.lumcrest.data.language;

const home = fs.mkdtempSync(path.join(os.tmpdir(), "lumcrest-language-"));
function caption(settings, list) {
  fs.writeFileSync(path.join(home, "lumcrest.ini"), settings);
  const out = execFileSync(driver, ["--home", home, "--seed", "1"], {
    input: "start\ncontrol clickhere\n",
    env: { ...process.env, LANGUAGE: list, LC_ALL: "", LC_MESSAGES: "", LANG: "" },
  }).toString();
  return /caption=(.*)/.exec(out)[1];
}

const languages = ["", "de", "fr", "es", "it", "pt_BR", "nl", "pl", "ru"];
const byCaption = {};
for (const l of languages) byCaption[caption("", l || "en")] = l;

const cases = [
  ["", "de_DE.UTF-8"], ["", "pt"], ["", "pt_PT:fr"], ["", "en_US:de"], ["", "xx:nl_BE"],
  ["", "fr_CA@euro"], ["", "C"], ["", "ja:ko"], ["", ""], ["", "pl:ru"],
  ["[Settings]\nLanguage=ru\n", "de"], ["[Settings]\nLanguage=en\n", "de"],
  ["[Settings]\nLanguage=xx\n", "it"], ["[Settings]\nLanguage=es_MX.UTF-8\n", ""],
  ["[Settings]\nName=Ann\nLanguage=\n", "nl"],
];
let failures = 0;
for (const [settings, list] of cases) {
  const game = byCaption[caption(settings, list)];
  const page = choose(settings, list);
  const ok = game === page;
  if (!ok) ++failures;
  console.log(`${ok ? "ok" : "FAILED"}: ${JSON.stringify(settings)} ${JSON.stringify(list)}: ` +
    `the game speaks ${JSON.stringify(game)}, the page loads ${JSON.stringify(page)}`);
}
fs.rmSync(home, { recursive: true, force: true });
process.exit(failures ? 1 : 0);
