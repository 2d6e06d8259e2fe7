#include "HostEvents.h"

std::string fourCharCodeText(FourCharCode code) {
    std::string text(4, ' ');
    text[0] = char((code >> 24) & 0xFF);
    text[1] = char((code >> 16) & 0xFF);
    text[2] = char((code >> 8) & 0xFF);
    text[3] = char(code & 0xFF);
    return text;
}
