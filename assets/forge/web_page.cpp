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
body { background: #0c0a24; color: #f2ecdc; font-family: "TeX Gyre Schola", serif;
       max-width: 46em; margin: 2em auto; padding: 0 1em; line-height: 1.5; }
h1 { color: #ffd35a; font-family: "TeX Gyre Schola", serif; font-style: italic; font-size: 2.6em;
     text-align: center; margin-bottom: 0.2em; }
h2 { color: #ffd35a; font-family: "TeX Gyre Schola", serif; border-bottom: 1px solid #8a5a14; }
.tagline { text-align: center; color: #c8c0e8; }
table { border-collapse: collapse; }
td { padding: 0.2em 1em 0.2em 0; }
td.key { color: #fff07a; font-weight: bold; }
footer { margin-top: 3em; color: #a8a0c8; font-size: 0.9em; text-align: center; }
</style>
</head>
<body>
<h1>Lumcrest</h1>
<p class="tagline">A night-sky puzzle of glowing gems</p>

<h2>How to play</h2>
<p>Your bar of three gems waits at the bottom of the well. Move it left and right, turn its
gems round, then launch it: each of its gems flies up until it meets the gems above. Gems of
one kind that meet burst. Clear enough gems to finish each stage, and never let the pile grow
down to your bar: the game ends when the row just above the bar has no room left for three
gems side by side.</p>
<ul>
<li><b>Runs:</b> three or more gems of one kind in a line burst: across, up and down, or
diagonally.</li>
<li><b>Squares:</b> a block of two by two gems of one kind bursts as well.</li>
<li><b>Jokers</b> (from stage 2): the cluster of little balls counts as every kind of gem.</li>
<li><b>Bombs</b> (from stage 3): a bomb that completes a group clears every gem of that kind
from the well.</li>
<li><b>Chains:</b> gems rise into the gaps left by a burst; new groups burst in turn, and every
step of a chain scores all the points before it again.</li>
<li><b>Stages:</b> every burst gem fills the glass tube left of the well. When it is full, the
jar celebrates and the next stage begins under a new night sky, with more kinds of gems and
more points for each.</li>
</ul>

<h2>Keys</h2>
<table>
<tr><td class="key">Left Arrow or keypad 4</td><td>move the bar left</td></tr>
<tr><td class="key">Right Arrow or keypad 6</td><td>move the bar right</td></tr>
<tr><td class="key">Down Arrow or keypad 5</td><td>turn the gems of the bar round</td></tr>
<tr><td class="key">Up Arrow or Space bar</td><td>launch the bar upward</td></tr>
</table>

<h2>Credits</h2>
<p>Design, code, pictures, sounds and music by the Lumcrest team. Every picture, sound and tune
of the game is made by our own code when the game is built; the music is played on the General
MIDI instruments of the TimGM6mb sound font.</p>

<footer>Lumcrest, version 1.0</footer>
</body>
</html>
)");
}

}  // namespace forge
