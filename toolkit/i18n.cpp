#include "toolkit/i18n.h"

#include <cstdlib>
#include <cstring>
#include <optional>

#include "toolkit/message_catalogue.h"

namespace tk {

namespace {

std::string& language() {
    static std::string lang;
    return lang;
}

// The texts of the language in use; nothing for English or a language without its catalogue.
std::optional<MessageCatalogue>& catalogue() {
    static std::optional<MessageCatalogue> texts;
    return texts;
}

// "de_AT.UTF-8@euro" -> the known language it names, "" when none.
std::string knownFrom(std::string name) {
    name = name.substr(0, name.find_first_of(".@"));
    if (name.empty()) return {};
    for (const std::string& known : knownLanguages())
        if (name == known) return known;
    const std::string base = name.substr(0, name.find('_'));
    for (const std::string& known : knownLanguages())
        if (base == known.substr(0, known.find('_'))) return known;
    return {};
}

bool meansEnglish(const std::string& name) {
    return name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0 || name == "en" ||
           name.rfind("en_", 0) == 0 || name.rfind("en.", 0) == 0;
}

}  // namespace

const std::vector<std::string>& knownLanguages() {
    static const std::vector<std::string> langs{"de", "fr", "es", "it", "pt_BR", "nl", "pl", "ru"};
    return langs;
}

std::string pickLanguage(const std::string& setting,
                         const std::function<const char*(const char*)>& env) {
    if (!setting.empty()) {
        if (meansEnglish(setting)) return {};
        std::string known = knownFrom(setting);
        if (!known.empty()) return known;
    }
    auto var = [&](const char* name) {
        const char* v = env(name);
        return std::string(v ? v : "");
    };
    const std::string all = var("LC_ALL");
    if (all == "C" || all == "POSIX") return {};
    const std::string list = var("LANGUAGE");
    for (std::size_t pos = 0; pos <= list.size();) {
        std::size_t end = list.find(':', pos);
        if (end == std::string::npos) end = list.size();
        const std::string item = list.substr(pos, end - pos);
        if (meansEnglish(item)) return {};
        std::string known = knownFrom(item);
        if (!known.empty()) return known;
        pos = end + 1;
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const std::string value = var(name);
        if (!value.empty()) return knownFrom(value);
    }
    return {};
}

std::string pickLanguage(const std::string& setting) {
    return pickLanguage(setting, [](const char* name) { return std::getenv(name); });
}

std::string useLanguage(const std::string& lang, const std::string& localeDir) {
    language() = lang;
    catalogue().reset();
    if (lang.empty()) return {};
    const std::string path = localeDir + "/" + lang + "/LC_MESSAGES/lumcrest.mo";
    std::string why;
    catalogue() = MessageCatalogue::load(path, why);
    if (why.empty()) return {};
    // Half a language (its pictures with words, English captions) would be worse than English.
    language().clear();
    return path + ": " + why;
}

const std::string& currentLanguage() {
    return language();
}

std::string tr(const char* english) {
    if (!catalogue() || !*english) return english;
    const std::string* text = catalogue()->find(english);
    return text && !text->empty() ? *text : english;
}

std::string tr(const char* english, const std::string& arg) {
    std::string text = tr(english);
    const std::size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, arg);
    return text;
}

}  // namespace tk
