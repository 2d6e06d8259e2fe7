#include "PreferredLanguage.h"

#include <algorithm>
#include <cstdlib>

#ifndef VESK_LANGUAGES
#define VESK_LANGUAGES "en"
#endif

namespace {

// "es_MX.UTF-8@euro" -> "es"; "C" and "POSIX" (no language chosen) and empty give empty.
std::string languageCode(std::string entry) {
    entry = entry.substr(0, entry.find_first_of("_.@-"));
    if (entry == "C" || entry == "POSIX")
        return std::string();
    std::transform(entry.begin(), entry.end(), entry.begin(),
                   [](unsigned char c) { return char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    return entry;
}

void addCode(std::vector<std::string>& codes, const std::string& entry) {
    std::string code = languageCode(entry);
    if (code.empty() || std::find(codes.begin(), codes.end(), code) != codes.end())
        return;
    codes.push_back(code);
}

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(':', start);
        if (end == std::string::npos)
            end = text.size();
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

} // namespace

std::vector<std::string> desktopLanguageCodes() {
    std::vector<std::string> codes;
    if (const char* list = std::getenv("LANGUAGE"))
        for (const std::string& entry : splitList(list))
            addCode(codes, entry);
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (!value || !value[0])
            continue;
        addCode(codes, value);
        break;
    }
    // "C" or nothing at all: the desktop asks for no language, and the program speaks English.
    if (codes.empty())
        codes.push_back("en");
    return codes;
}

const std::vector<std::string>& carriedLanguageCodes() {
    static const std::vector<std::string> codes = splitList(VESK_LANGUAGES);
    return codes;
}

bool isCarriedLanguage(const std::string& code) {
    const std::vector<std::string>& carried = carriedLanguageCodes();
    return std::find(carried.begin(), carried.end(), code) != carried.end();
}

std::optional<std::string> chosenLanguageCode() {
    for (const std::string& code : desktopLanguageCodes())
        if (isCarriedLanguage(code))
            return code;
    return std::nullopt;
}

std::string tableLanguageName(const std::string& code) {
    if (code == "en")
        return "English";
    if (code == "es")
        return "Spanish";
    return code;
}
