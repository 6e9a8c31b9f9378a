#pragma once
// The forge's jobs: each writes its own files and shares nothing with the others,
// so main() runs them on worker threads.

#include <cairo.h>

#include <string>

#include "assets/catalogue.h"

namespace forge {

namespace asset = lumcrest::asset;

struct Output {
    std::string dataDir;      // files the game reads by bare name
    std::string embeddedDir;  // files built into the binary
    // The language of the pictures ("" English). A translated set lives in one folder of the
    // data, beside the English files; its pictures without words are not drawn again.
    std::string lang;
    std::string iconsDir;  // the desktop icons, installed into the hicolor theme
    std::string data(const std::string& name) const { return dataDir + "/" + name; }
    std::string embedded(const std::string& name) const { return embeddedDir + "/" + name; }
    std::string icon(const std::string& name) const { return iconsDir + "/" + name; }
    // Where a catalogued file goes: its folder, or this language's folder for a translation.
    std::string in(asset::Folder folder, const std::string& name) const {
        switch (folder) {
            case asset::Folder::Data: return data(name);
            case asset::Folder::Embedded: return embedded(name);
            case asset::Folder::Icons: return icon(name);
        }
        return name;
    }
    std::string of(const asset::File& f) const { return in(f.folder, f.file); }
    std::string of(const asset::Picture& p) const { return in(p.folder, p.file); }
    std::string of(const asset::FrameList& l) const { return embedded(l.file); }
    std::string of(const asset::Series& s, int i) const { return in(s.folder, s.file(i)); }
};

void forgeGems(const Output& out);         // Blockimage, glints, sheens, highlights, cracks, icon
void forgeIcons(const Output& out);        // desktop icons: PNGs of 32..256 pixels and an SVG
void forgeBursts(const Output& out);       // gemsblast2
void forgeJar(const Output& out);          // jar
void forgeBackgrounds(const Output& out);  // bg101..bg106, jarbacks
void forgeButtons(const Output& out);      // menu button bitmaps, menulist
void forgeLights(const Output& out);       // the switches' volume lights, the Ok buttons' faces
void forgePictures(const Output& out);     // menu backdrop, logo, dialogs
void forgeHelpPage(const Output& out);     // help.jpg
void forgeEffects(const Output& out);      // sound effects
void forgeMenuMusic(const Output& out);    // menumusic.mp3
void forgeGameMusic(const Output& out);    // music.mp3
void forgeWebPage(const Output& out);      // lumcrest.html

// The jar at rest: frame 0 of the jar list, also painted into the corner of
// every background so the jar stands there before the first stage ends.
void paintRestingJar(cairo_t* cr);

}  // namespace forge
