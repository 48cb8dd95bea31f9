#include "platform/system/SystemLanguage.h"

#include <cstdlib>

namespace vx {

int LanguageFromLocaleName(std::string_view locale) {
    struct Entry {
        std::string_view prefix;
        int id;
    };
    static constexpr Entry kLanguages[] = {
        {"zh", kLanguageChinese}, {"de", kLanguageGerman},     {"es", kLanguageSpanish},
        {"fr", kLanguageFrench},  {"it", kLanguageItalian},    {"ja", kLanguageJapanese},
        {"ko", kLanguageKorean},  {"nl", kLanguageDutch},      {"pt", kLanguagePortuguese},
    };
    std::string_view code = locale.substr(0, 2);
    for (const Entry& e : kLanguages)
        if (code == e.prefix) return e.id;
    return kLanguageEnglish;
}

int GetSystemLanguage() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return LanguageFromLocaleName(value);
    }
    return kLanguageEnglish;
}

}  // namespace vx
