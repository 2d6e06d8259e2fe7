// How host events travel over the D-Bus session bus: the bus name of each application signature,
// the object path, the interface and its methods. docs/host-events.md describes the same for the
// host's maintainers. Shared by VeskBarcode and the sample host vesk-host.
#pragma once

#include "HostEvents.h"

#include <QString>
#include <QVariantMap>

#include <optional>

namespace HostEventBus {

extern const char kObjectPath[];      // "/org/vesk/HostEvents"
extern const char kInterface[];       // "org.vesk.HostEvents"
extern const char kEventMethod[];     // "Event": (s target, s class, s id, a{sv} parameters) -> a{sv} reply
extern const char kOpenFileMethod[];  // "OpenFile": (s path) -> b accepted
extern const char kErrorRefused[];    // the sender may not send this event
extern const char kErrorNotHandled[]; // no handler for this class and ID
extern const char kErrorWrongTarget[];
extern const char kErrorBadCode[];

// The well-known bus name of an application signature: "org.vesk.Signature." followed by the four
// characters; a character that a bus name cannot hold is written as _XX (two hex digits), and a
// leading digit is preceded by "_".
QString busNameForSignature(FourCharCode signature);

// The four characters of a code as text, and back (none unless exactly four Latin-1 characters).
QString codeText(FourCharCode code);
std::optional<FourCharCode> codeFromText(const QString& text);

} // namespace HostEventBus
