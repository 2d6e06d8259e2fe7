#include "CaseName.h"

#include <cctype>

namespace testsupport {

namespace {

bool isNameCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

} // namespace

std::string caseName(const std::string& text) {
    bool alreadyAName = !text.empty();
    for (char c : text)
        alreadyAName = alreadyAName && isNameCharacter(c);
    if (alreadyAName)
        return text;
    std::string name;
    bool wordStart = true;
    for (char c : text) {
        if (!isNameCharacter(c)) {
            wordStart = true;
            continue;
        }
        name += wordStart ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        wordStart = false;
    }
    return name.empty() ? "Unnamed" : name;
}

} // namespace testsupport
