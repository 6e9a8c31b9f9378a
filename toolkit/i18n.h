// The game in the player's language: which language, and the run-time texts in it.
// English is the source text; the other languages come from compiled gettext catalogues.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Marks a text for translation where it is defined; tk::tr translates it where it is shown.
#define N_(text) text

namespace tk {

// The languages the game speaks besides English, as gettext names them ("de", "pt_BR", ...).
const std::vector<std::string>& knownLanguages();

// The language to speak, "" for English. SETTING (the settings file's choice) wins when it names a
// known language ("en" or "C" asks for English); else LC_ALL=C or POSIX gives English; else the
// first known language of LANGUAGE (a colon list), else of the first set of LC_ALL, LC_MESSAGES
// and LANG. "de_AT.UTF-8@euro" counts as "de"; a bare "pt" as "pt_BR".
std::string pickLanguage(const std::string& setting,
                         const std::function<const char*(const char*)>& env);
std::string pickLanguage(const std::string& setting);

// Speaks LANG ("" English) from now on, with the catalogues under LOCALEDIR
// (LOCALEDIR/LANG/LC_MESSAGES/lumcrest.mo). A missing catalogue leaves the texts in English. A
// catalogue that is there but cannot be used (not a regular file, damaged) is refused: the game
// speaks English, and the answer names the file and says why ("" when nothing was refused).
std::string useLanguage(const std::string& lang, const std::string& localeDir);
// The language in use, "" for English.
const std::string& currentLanguage();

// ENGLISH in the language in use.
std::string tr(const char* english);
// ENGLISH in the language in use, with its "%s" replaced by ARG.
std::string tr(const char* english, const std::string& arg);

}  // namespace tk
