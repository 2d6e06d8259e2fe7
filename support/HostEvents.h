// Events to the host application: a four-character event class and ID sent to an application
// signature. The shell implements the transport (the session bus); the core only names events.
#pragma once

#include <cstdint>
#include <string>

using FourCharCode = uint32_t;

constexpr FourCharCode makeFourCharCode(const char (&code)[5]) {
    return (FourCharCode(uint8_t(code[0])) << 24) | (FourCharCode(uint8_t(code[1])) << 16) |
           (FourCharCode(uint8_t(code[2])) << 8) | FourCharCode(uint8_t(code[3]));
}

// The four characters of a code, most significant byte first.
std::string fourCharCodeText(FourCharCode code);

constexpr FourCharCode kVeskXSignature = makeFourCharCode("QRWz");
constexpr FourCharCode kVeskBarcodeEventClass = makeFourCharCode("barc");
constexpr FourCharCode kVeskBarcodeEventID_Success = makeFourCharCode("ok01");
constexpr FourCharCode kVeskBarcodeEventID_EraseSuccess = makeFourCharCode("ok02");
constexpr FourCharCode kVeskBarcodeEventID_MatchFailed = makeFourCharCode("err1");
constexpr FourCharCode kVeskBarcodeEventID_EraseFailed = makeFourCharCode("err2");
constexpr FourCharCode kVeskBarcodeEventID_BadSourceFolder = makeFourCharCode("err3");
constexpr FourCharCode kVeskBarcodeEventID_userAbort = makeFourCharCode("abrt");
constexpr FourCharCode kVeskBarcodeEventID_QuitEnd = makeFourCharCode("qend");

class HostEvents {
  public:
    virtual ~HostEvents() = default;
    // Sends the event without waiting for a reply; false when it could not be sent.
    virtual bool sendEvent(FourCharCode signature, FourCharCode eventClass, FourCharCode eventID) = 0;
};
