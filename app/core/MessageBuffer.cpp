#include "MessageBuffer.h"

#include "MacRoman.h"

void MessageBuffer::append(const std::string& message) {
    std::lock_guard<std::mutex> guard(fLock);
    if (message.size() >= fLimit) {
        fText.assign(message, message.size() - fLimit, fLimit);
        return;
    }
    size_t total = fText.size() + message.size();
    if (total > fLimit)
        fText.erase(0, total - fLimit);
    fText += message;
}

std::string MessageBuffer::snapshot() const {
    std::lock_guard<std::mutex> guard(fLock);
    return fText;
}

namespace {

bool isContinuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

std::string decodeBuffer(const std::string& bytes) {
    if (isValidUtf8(bytes))
        return bytes;
    size_t cut = 0;
    while (cut < 3 && cut < bytes.size() && isContinuationByte(bytes[cut]))
        ++cut;
    if (cut > 0 && isValidUtf8(bytes.substr(cut)))
        return bytes.substr(cut);
    return macRomanToUtf8(bytes);
}

} // namespace

std::string messageAreaText(const std::string& bytes) {
    std::string decoded = decodeBuffer(bytes);
    std::string text;
    text.reserve(decoded.size());
    for (size_t i = 0; i < decoded.size(); ++i) {
        if (decoded[i] != '\r') {
            text += decoded[i];
            continue;
        }
        text += '\n';
        if (i + 1 < decoded.size() && decoded[i + 1] == '\n')
            ++i;
    }
    return text;
}
