// lumcrest.html: an offline page with how to play, the keys and the credits.

#include "assets/forge/forge.h"
#include "assets/forge/image_writers.h"
#include "assets/forge/words.h"

namespace forge {

namespace {

// TEXT with the characters that mean something in HTML written as entities. Bold and line
// breaks come from the page itself, never from a translation.
std::string html(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string t(const char* english) {
    return html(tr(english));
}

std::string item(const char* lead, const char* rest) {
    return "<li><b>" + t(lead) + "</b> " + t(rest) + "</li>\n";
}

std::string keyRow(const char* keys, const char* what) {
    return "<tr><td class=\"key\">" + t(keys) + "</td><td>" + t(what) + "</td></tr>\n";
}

}  // namespace

void forgeWebPage(const Output& out) {
    std::string lang = out.lang.empty() ? "en" : out.lang;
    for (char& c : lang)
        if (c == '_') c = '-';
    std::string page = "<!DOCTYPE html>\n<html lang=\"" + lang + R"(">
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
)";
    page += "<p class=\"tagline\">" + t(N_("A night-sky puzzle of glowing gems")) + "</p>\n\n";
    page += "<h2>" + t(N_("How to play")) + "</h2>\n";
    page += "<p>" +
            t(N_("Your bar of three gems waits at the bottom of the well. Move it left and right, "
                 "turn its gems round, then launch it: each of its gems flies up until it meets "
                 "the gems above. Gems of one kind that meet burst. Clear enough gems to finish "
                 "each level, and never let the pile grow down to your bar: the game ends when "
                 "the row just above the bar has no room left for three gems side by side.")) +
            "</p>\n<ul>\n";
    page += item(N_("Runs:"), N_("three or more gems of one kind in a line burst: across, up and "
                                 "down, or diagonally."));
    page += item(N_("Squares:"), N_("a block of two by two gems of one kind bursts as well."));
    page += item(N_("Jokers"), N_("(from level 2): the cluster of little balls counts as every "
                                  "kind of gem."));
    page += item(N_("Bombs"), N_("(from level 3): a bomb that completes a group clears every gem "
                                 "of that kind from the well."));
    page += item(N_("Chains:"), N_("gems rise into the gaps left by a burst; new groups burst in "
                                   "turn, and every step of a chain scores all the points before "
                                   "it again."));
    page += item(N_("Levels:"), N_("every burst gem fills the glass tube left of the well. When it "
                                   "is full, the jar celebrates and the next level begins under a "
                                   "new night sky, with more kinds of gems and more points for "
                                   "each."));
    page += "</ul>\n\n<h2>" + t(N_("Keys")) + "</h2>\n<table>\n";
    page += keyRow(N_("Left Arrow or keypad 4"), N_("move the bar left"));
    page += keyRow(N_("Right Arrow or keypad 6"), N_("move the bar right"));
    page += keyRow(N_("Down Arrow or keypad 5"), N_("turn the gems of the bar round"));
    page += keyRow(N_("Up Arrow or Space bar"), N_("launch the bar upward"));
    page += "</table>\n\n<h2>" + t(N_("Credits")) + "</h2>\n";
    page += "<p>" +
            t(N_("Design, code, pictures, sounds and music by the Lumcrest team. Every picture, "
                 "sound and tune of the game is made by our own code when the game is built; the "
                 "music is played on the General MIDI instruments of the Fluid R3 sound font.")) +
            "</p>\n\n";
    page += "<footer>" + t(N_("Lumcrest, version 1.0")) + "</footer>\n</body>\n</html>\n";
    writeTextFile(out.of(asset::kWebPage), page);
}

}  // namespace forge
