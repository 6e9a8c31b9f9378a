// lumcrest.html: an offline page with how to play, the keys and the credits.

#include "forge.h"
#include "image_writers.h"

namespace forge {

void forgeWebPage(const Output& out) {
    writeTextFile(out.data("lumcrest.html"), R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Lumcrest</title>
<style>
body { background: #0c0a24; color: #f2ecdc; font-family: "DejaVu Sans", sans-serif;
       max-width: 46em; margin: 2em auto; padding: 0 1em; line-height: 1.5; }
h1 { color: #ffd35a; font-family: "DejaVu Serif", serif; font-style: italic; font-size: 2.6em;
     text-align: center; margin-bottom: 0.2em; }
h2 { color: #ffd35a; font-family: "DejaVu Serif", serif; border-bottom: 1px solid #8a5a14; }
.tagline { text-align: center; color: #c8c0e8; }
table { border-collapse: collapse; }
td { padding: 0.2em 1em 0.2em 0; }
td.key { color: #fff07a; font-weight: bold; }
footer { margin-top: 3em; color: #a8a0c8; font-size: 0.9em; text-align: center; }
</style>
</head>
<body>
<h1>Lumcrest</h1>
<p class="tagline">A night-sky puzzle of falling gems</p>

<h2>How to play</h2>
<p>Bars of three gems fall into the well. Move and rotate each bar so that gems of one kind
meet, make them explode, and keep the well from filling up.</p>
<ul>
<li>Three or more gems of one kind in a row explode: across, up and down, or diagonally.</li>
<li>A square of four gems of one kind (two by two) explodes as well.</li>
<li>The joker, a cluster of little balls, matches every kind of gem.</li>
<li>A bomb that is part of an exploding group clears every gem of that kind from the well.</li>
<li>Gems above fall into the gaps; new groups explode in a chain, and chains score more.</li>
<li>Every explosion fills the progress tube left of the well. When it is full, the jar lights
up and the next stage begins, with a new night sky.</li>
<li>The game is over when the gems pile up to the top of the well.</li>
</ul>

<h2>Keys</h2>
<table>
<tr><td class="key">Left Arrow or keypad 4</td><td>move the bar left</td></tr>
<tr><td class="key">Right Arrow or keypad 6</td><td>move the bar right</td></tr>
<tr><td class="key">Down Arrow or keypad 5</td><td>rotate the gems of the bar</td></tr>
<tr><td class="key">Up Arrow or Space bar</td><td>up</td></tr>
</table>

<h2>Credits</h2>
<p>Made by the Lumcrest developers. Every picture, sound and tune of the game is made by our
own code; the music is played on the General MIDI instruments of the TimGM6mb sound font.</p>

<footer>Lumcrest, version 1.0</footer>
</body>
</html>
)");
}

}  // namespace forge
