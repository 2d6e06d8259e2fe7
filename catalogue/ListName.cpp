#include "ListName.h"

#include "MacRoman.h"

#include <cstdio>
#include <map>

namespace {

// Mac OS Roman's upper half as Unicode code points, taken from the same converter that writes
// the list, so that the escaping path and the plain path agree on every character.
const std::map<char32_t, unsigned char>& macRomanUpperHalf() {
    static const std::map<char32_t, unsigned char> table = [] {
        std::map<char32_t, unsigned char> codes;
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            std::string utf8 = macRomanToUtf8(std::string(1, static_cast<char>(byte)));
            const unsigned char* s = reinterpret_cast<const unsigned char*>(utf8.data());
            char32_t code = 0;
            if (utf8.size() == 2)
                code = ((s[0] & 0x1Fu) << 6) | (s[1] & 0x3Fu);
            else if (utf8.size() == 3)
                code = ((s[0] & 0x0Fu) << 12) | ((s[1] & 0x3Fu) << 6) | (s[2] & 0x3Fu);
            if (code != 0)
                codes[code] = static_cast<unsigned char>(byte);
        }
        return codes;
    }();
    return table;
}

bool isContinuation(unsigned char c) {
    return c >= 0x80 && c <= 0xBF;
}

// The length of the well-formed UTF-8 sequence at position, 0 when it is not one.
size_t sequenceLength(const std::string& text, size_t position, char32_t& code) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text.data()) + position;
    size_t left = text.size() - position;
    unsigned char lead = s[0];
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    }
    if (length == 0 || left < length || s[1] < low || s[1] > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if (!isContinuation(s[i]))
            return 0;
    code = lead & (0xFF >> (length + 1));
    for (size_t i = 1; i < length; ++i)
        code = (code << 6) | (s[i] & 0x3Fu);
    return length;
}

void appendEscape(std::string& out, unsigned char byte) {
    char escape[4];
    snprintf(escape, sizeof escape, "%%%02X", byte);
    out += escape;
}

bool isControl(char32_t code) {
    return code < 0x20 || code == 0x7F;
}

struct Escaped {
    std::string text;
    bool hadControl = false;
    bool hadUnmappable = false;
    bool hadInvalidBytes = false;
};

Escaped escapeName(const std::string& name) {
    Escaped result;
    const std::map<char32_t, unsigned char>& upper = macRomanUpperHalf();
    size_t position = 0;
    while (position < name.size()) {
        char32_t code = 0;
        size_t length = sequenceLength(name, position, code);
        if (length == 0) {
            result.hadInvalidBytes = true;
            appendEscape(result.text, static_cast<unsigned char>(name[position]));
            ++position;
            continue;
        }
        if (code == '%') {
            result.text += "%25";
        } else if (isControl(code)) {
            result.hadControl = true;
            appendEscape(result.text, static_cast<unsigned char>(code));
        } else if (code < 0x80) {
            result.text += static_cast<char>(code);
        } else if (upper.count(code)) {
            result.text += static_cast<char>(upper.at(code));
        } else {
            result.hadUnmappable = true;
            for (size_t i = 0; i < length; ++i)
                appendEscape(result.text, static_cast<unsigned char>(name[position + i]));
        }
        position += length;
    }
    return result;
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    return (c & ~0x20) - 'A' + 10;
}

// A "%" that a percent decoder would read as the start of an escape.
bool hasEscapeLikeSequence(const std::string& text) {
    for (size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 1)) {
        if (at + 2 < text.size() && isHexDigit(text[at + 1]) && isHexDigit(text[at + 2]))
            return true;
    }
    return false;
}

bool hasControlCharacter(const std::string& text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F)
            return true;
    return false;
}

// An escape of a UTF-8 continuation byte (%80 to %BF) at position: cutting there would split a
// character.
bool isContinuationEscapeAt(const std::string& text, size_t position) {
    if (position + 2 >= text.size() || text[position] != '%' || text[position + 1] < '8')
        return false;
    char high = text[position + 1];
    return (high >= '8' && high <= '9') || (high >= 'A' && high <= 'B');
}

// A cut must split neither a %XX escape nor the escapes of one character.
size_t backOffEscape(const std::string& text, size_t cut) {
    for (size_t back = 1; back <= 2 && back <= cut; ++back) {
        if (text[cut - back] == '%') {
            cut -= back;
            break;
        }
    }
    while (cut >= 3 && isContinuationEscapeAt(text, cut))
        cut -= 3;
    return cut;
}

size_t forwardOverEscape(const std::string& text, size_t start) {
    for (size_t back = 1; back <= 2 && back <= start; ++back) {
        if (text[start - back] == '%') {
            start = start - back + 3;
            break;
        }
    }
    while (isContinuationEscapeAt(text, start))
        start += 3;
    return start;
}

// Keeps the start (the top folders) and the longer end (the file name), joined by "...".
std::string shortenInTheMiddle(const std::string& text, bool escaped) {
    const size_t headLength = 400;
    const size_t tailLength = kMaxListNameBytes - headLength - 3;
    size_t headEnd = headLength;
    size_t tailStart = text.size() - tailLength;
    if (escaped) {
        headEnd = backOffEscape(text, headEnd);
        tailStart = forwardOverEscape(text, tailStart);
    }
    return text.substr(0, headEnd) + "..." + text.substr(tailStart);
}

std::string describeEscapes(const Escaped& escaped) {
    std::string reasons;
    if (escaped.hadUnmappable)
        reasons = "characters that Mac OS Roman cannot carry";
    if (escaped.hadInvalidBytes)
        reasons += std::string(reasons.empty() ? "" : ", ") + "bytes that are not UTF-8";
    if (escaped.hadControl)
        reasons += std::string(reasons.empty() ? "" : ", ") + "tabs, line breaks or control characters";
    if (reasons.empty())
        reasons = "\"%\" followed by two hexadecimal digits, which would read as an escape";
    return "its name has " + reasons + "; they are written as %XX escapes of their bytes (and % as %25)";
}

} // namespace

ListName makeListName(const std::string& relativePath) {
    ListName result;
    bool escaped = false;
    if (isValidUtf8(relativePath) && !hasControlCharacter(relativePath) &&
        !hasEscapeLikeSequence(relativePath)) {
        if (std::optional<std::string> plain = utf8ToMacRoman(relativePath))
            result.text = *plain;
    }
    if (result.text.empty() && !relativePath.empty()) {
        Escaped escapes = escapeName(relativePath);
        result.text = escapes.text;
        result.problem = describeEscapes(escapes);
        escaped = true;
    }
    if (result.text.size() <= kMaxListNameBytes)
        return result;
    std::string length = std::to_string(result.text.size());
    result.text = shortenInTheMiddle(result.text, escaped);
    if (!result.problem.empty())
        result.problem += "; ";
    result.problem += "its name is " + length + " bytes long, more than the " +
                      std::to_string(kMaxListNameBytes) +
                      " the list can hold, so its middle is replaced by \"...\"";
    return result;
}

std::string relativePathOfListName(const std::string& utf8ListedName) {
    const std::string& text = utf8ListedName;
    std::string path;
    path.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && isHexDigit(text[i + 1]) && isHexDigit(text[i + 2])) {
            path += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
            continue;
        }
        path += text[i];
    }
    return path;
}

std::string messageTextForPath(const std::string& path) {
    if (isValidUtf8(path) && !hasControlCharacter(path)) {
        if (std::optional<std::string> plain = utf8ToMacRoman(path))
            return *plain;
    }
    return escapeName(path).text;
}
