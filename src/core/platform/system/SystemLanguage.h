#pragma once
#include <string_view>

namespace vx {

/// Primary language ids as layout files name their comment elements.
enum SystemLanguageId : int {
    kLanguageChinese = 4,
    kLanguageGerman = 7,
    kLanguageEnglish = 9,
    kLanguageSpanish = 10,
    kLanguageFrench = 12,
    kLanguageItalian = 16,
    kLanguageJapanese = 17,
    kLanguageKorean = 18,
    kLanguageDutch = 19,
    kLanguagePortuguese = 22,
};

/// The language of a locale name such as "de_DE.UTF-8", by its first two letters;
/// anything not listed above (C, POSIX, en, pl, ...) is English, so that every user's
/// comment is written somewhere.
int LanguageFromLocaleName(std::string_view locale);

/// The user's language from LC_ALL, else LC_MESSAGES, else LANG (the first that is set
/// and not empty).
int GetSystemLanguage();

}  // namespace vx
