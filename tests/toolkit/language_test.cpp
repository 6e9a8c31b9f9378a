// Which language the game speaks: the settings file's choice, then the desktop's variables.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "toolkit/font.h"
#include "toolkit/i18n.h"

namespace {

std::string pick(const std::string& setting, std::map<std::string, std::string> vars) {
    return tk::pickLanguage(setting, [&vars](const char* name) -> const char* {
        auto it = vars.find(name);
        return it == vars.end() ? nullptr : it->second.c_str();
    });
}

TEST(Language, FollowsTheDesktopInGettextsOrder) {
    EXPECT_EQ(pick("", {}), "");
    EXPECT_EQ(pick("", {{"LANG", "de_DE.UTF-8"}}), "de");
    EXPECT_EQ(pick("", {{"LANG", "de_AT.UTF-8@euro"}}), "de");
    EXPECT_EQ(pick("", {{"LANG", "pt_BR.UTF-8"}}), "pt_BR");
    EXPECT_EQ(pick("", {{"LANG", "pt_PT.UTF-8"}}), "pt_BR");  // the one Portuguese we have
    EXPECT_EQ(pick("", {{"LC_MESSAGES", "ru_RU.UTF-8"}, {"LANG", "de_DE.UTF-8"}}), "ru");
    EXPECT_EQ(pick("", {{"LC_ALL", "fr_FR.UTF-8"}, {"LC_MESSAGES", "ru_RU.UTF-8"}}), "fr");
    // LANGUAGE is a list: the first language we speak wins over the locale.
    EXPECT_EQ(pick("", {{"LANGUAGE", "sv:nl:de"}, {"LANG", "ru_RU.UTF-8"}}), "nl");
    // A list that asks for English first gives English.
    EXPECT_EQ(pick("", {{"LANGUAGE", "en_GB:de"}, {"LANG", "de_DE.UTF-8"}}), "");
    // A language we do not speak falls back to English, not to a neighbour's.
    EXPECT_EQ(pick("", {{"LANG", "sv_SE.UTF-8"}}), "");
    EXPECT_EQ(pick("", {{"LANGUAGE", ""}, {"LANG", ""}}), "");
    EXPECT_EQ(pick("", {{"LANG", "C.UTF-8"}}), "");
    // The first locale variable set decides alone, even for a language we lack: messages in
    // Swedish asked for give English, never the language of LANG.
    EXPECT_EQ(pick("", {{"LC_MESSAGES", "sv_SE.UTF-8"}, {"LANG", "de_DE.UTF-8"}}), "");
    EXPECT_EQ(pick("", {{"LC_ALL", "sv_SE.UTF-8"}, {"LC_MESSAGES", "fr_FR.UTF-8"}}), "");
}

TEST(Language, TheCLocaleGivesEnglishAndTheSettingWinsOverAll) {
    EXPECT_EQ(pick("", {{"LC_ALL", "C"}, {"LANGUAGE", "de"}}), "");
    EXPECT_EQ(pick("", {{"LC_ALL", "POSIX"}, {"LANG", "de_DE.UTF-8"}}), "");
    EXPECT_EQ(pick("ru", {{"LC_ALL", "C"}}), "ru");
    EXPECT_EQ(pick("pl_PL", {{"LANGUAGE", "de"}}), "pl");
    EXPECT_EQ(pick("en", {{"LANGUAGE", "de"}}), "");
    EXPECT_EQ(pick("C", {{"LANG", "de_DE.UTF-8"}}), "");
    // A setting that names no language we speak leaves the choice to the desktop.
    EXPECT_EQ(pick("klingon", {{"LANGUAGE", "fr"}}), "fr");
    EXPECT_EQ(pick("", {{"LANGUAGE", "it"}}), "it");
}

TEST(Language, EnglishNeedsNoCatalogueAndFillsInTheArgument) {
    tk::useLanguage("", "/nonexistent");
    EXPECT_EQ(tk::currentLanguage(), "");
    EXPECT_EQ(tk::tr("Unable to write to %s", "/x/lumcrest.ini"),
              "Unable to write to /x/lumcrest.ini");
    EXPECT_EQ(tk::tr(""), "");
    // An argument that itself holds "%s" is put in once, as it is.
    EXPECT_EQ(tk::tr("Resource %s not found", "a%sb"), "Resource a%sb not found");
}

}  // namespace

namespace {

// One face for every caption of a language: the layouts' serif while it has the letters, a serif
// with Cyrillic for Russian.
TEST(LanguageFace, ScholaWhileItHasTheLettersElseASerifThatHasThem) {
    EXPECT_EQ(tk::chooseFaceFor("Hallo, Stufe: Klicken, um den Spieler zu wechseln"),
              "TeX Gyre Schola");
    EXPECT_EQ(tk::chooseFaceFor("Cześć, Łódź żółć"), "TeX Gyre Schola");
    EXPECT_EQ(tk::chooseFaceFor("Привет, этап: Сменить игрока"), "DejaVu Serif");
    EXPECT_EQ(tk::georgiaFace(), "DejaVu Serif");
    // Russian letters are drawn, not left blank: the same caption is wider than nothing.
    tk::FontSpec georgia;
    EXPECT_GT(tk::measureText("Привет", georgia).width, 30);
    // Back to the layouts' face for the tests that follow.
    EXPECT_EQ(tk::chooseFaceFor("Welcome,"), "TeX Gyre Schola");
}

}  // namespace
