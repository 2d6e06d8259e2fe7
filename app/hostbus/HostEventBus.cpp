#include "HostEventBus.h"

namespace HostEventBus {

const char kObjectPath[] = "/org/vesk/HostEvents";
const char kInterface[] = "org.vesk.HostEvents";
const char kEventMethod[] = "Event";
const char kOpenFileMethod[] = "OpenFile";
const char kErrorRefused[] = "org.vesk.HostEvents.Error.Refused";
const char kErrorNotHandled[] = "org.vesk.HostEvents.Error.NotHandled";
const char kErrorWrongTarget[] = "org.vesk.HostEvents.Error.WrongTarget";
const char kErrorBadCode[] = "org.vesk.HostEvents.Error.BadCode";

QString busNameForSignature(FourCharCode signature) {
    QString element;
    for (int shift = 24; shift >= 0; shift -= 8) {
        char byte = char((signature >> shift) & 0xFF);
        bool letter = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z');
        bool digit = byte >= '0' && byte <= '9';
        if (digit && element.isEmpty())
            element += '_';
        if (letter || digit) {
            element += QChar(byte);
            continue;
        }
        element += QString("_%1").arg(uint(uint8_t(byte)), 2, 16, QChar('0')).toUpper();
    }
    return QStringLiteral("org.vesk.Signature.") + element;
}

QString codeText(FourCharCode code) {
    return QString::fromLatin1(fourCharCodeText(code).c_str(), 4);
}

std::optional<FourCharCode> codeFromText(const QString& text) {
    if (text.size() != 4)
        return std::nullopt;
    FourCharCode code = 0;
    for (QChar character : text) {
        if (character.unicode() > 0xFF)
            return std::nullopt;
        code = (code << 8) | FourCharCode(character.unicode());
    }
    return code;
}

} // namespace HostEventBus
