#include "MacRoman.h"

#include <iconv.h>

#include <cerrno>

namespace {

// One conversion through iconv; none on any conversion failure.
std::optional<std::string> convert(const char* to, const char* from, const std::string& input) {
    iconv_t descriptor = iconv_open(to, from);
    if (descriptor == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string output;
    output.resize(input.size() * 4 + 16);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char* out = &output[0];
    size_t outLeft = output.size();
    bool ok = true;
    while (inLeft > 0) {
        if (iconv(descriptor, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG) {
            size_t used = output.size() - outLeft;
            output.resize(output.size() * 2);
            out = &output[used];
            outLeft = output.size() - used;
            continue;
        }
        ok = false;
        break;
    }
    iconv_close(descriptor);
    if (!ok)
        return std::nullopt;
    output.resize(output.size() - outLeft);
    return output;
}

} // namespace

std::optional<std::string> utf8ToMacRoman(const std::string& utf8) {
    if (isSevenBitAscii(utf8))
        return utf8;
    return convert("MACINTOSH", "UTF-8", utf8);
}

std::string macRomanToUtf8(const std::string& macRoman) {
    if (isSevenBitAscii(macRoman))
        return macRoman;
    std::optional<std::string> result = convert("UTF-8", "MACINTOSH", macRoman);
    return result ? *result : macRoman;
}

bool isSevenBitAscii(const std::string& text) {
    for (unsigned char c : text)
        if (c > 0x7F)
            return false;
    return true;
}

bool isValidUtf8(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t extra = 0;
        unsigned long codePoint = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            codePoint = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            codePoint = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            codePoint = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= text.size())
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        static const unsigned long kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (codePoint < kSmallest[extra] || codePoint > 0x10FFFF ||
            (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}
