// Which language the program speaks: the first language of the desktop's list that the program
// carries. One choice for the windows (Qt's translations) and the keyed alert tables.
//
// The desktop's list is LANGUAGE (an ordered, colon-separated list such as "fr:es"), then the
// first of LC_ALL, LC_MESSAGES and LANG that is set ("es_MX.UTF-8"). "C" and "POSIX" name no
// language; a desktop that names none gets English. The languages carried are those the build names
// (VESK_LANGUAGES: "en", "es", ...).
#pragma once

#include <optional>
#include <string>
#include <vector>

// The desktop's languages in order of preference, as two- or three-letter codes ("es", "pt"):
// region, encoding and modifier dropped, duplicates left out. Never empty ("en" at least).
std::vector<std::string> desktopLanguageCodes();

// The languages the program carries, by code, in the build's order ("en" first).
const std::vector<std::string>& carriedLanguageCodes();
bool isCarriedLanguage(const std::string& code);

// The first desktop language that the program carries; none when it carries none of them (the
// program then speaks English, the language of its source texts).
std::optional<std::string> chosenLanguageCode();

// The name under which a language's keyed table is stored: "English" for "en", "Spanish" for
// "es", the code itself for any other.
std::string tableLanguageName(const std::string& code);
