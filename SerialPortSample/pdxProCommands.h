// The scanner's remote-mode vocabulary: control bytes, commands, and the helpers that the
// replies need (block checksum, decimal digits, 0xFF filler bytes).
//
// Every command is a NUL-terminated byte string; the terminator is never sent.
#pragma once

extern const char kPdxPro_DummyModemCommand[];    // "ATZ"
extern const char kPdxPro_Begin05Cmd[];           // 0x05: begin a transaction, first remote byte
extern const char kPdxPro_AckResp06Cmd[];         // 0x06: acknowledges 0x05 and "T"
extern const char kPdxPro_EnterRemoteMode1Cmd[];  // "U"
extern const char kPdxPro_AckResp07Cmd[];         // 0x07: acknowledges "U"
extern const char kPdxPro_EnterRemoteMode2Cmd[];  // "T"
extern const char kPdxPro_QuitRemoteModeCmd[];    // ESC: leave remote mode
extern const char kPdxPro_End06Cmd[];             // 0x06: end a transaction, next upload block
extern const char kPdxPro_DeletDataCmd[];         // STX "CE1" ETX (the digit is the form)
extern const char kPdxPro_GetDateInfoCmd[];       // STX "RD" ETX
extern const char kPdxPro_GetTimeInfoCmd[];       // STX "RT" ETX
extern const char kPdxPro_GetSystemInfoCmd[];     // STX "RX" ETX
extern const char kPdxPro_GetBarCodeSettingCmd[]; // STX "RC" ETX

constexpr unsigned char kPdxPro_STX = 0x02;
constexpr unsigned char kPdxPro_ETX = 0x03;
constexpr unsigned char kPdxPro_ENQ = 0x05;
constexpr unsigned char kPdxPro_ACK = 0x06;
constexpr unsigned char kPdxPro_BEL = 0x07;
constexpr unsigned char kPdxPro_ESC = 0x1B;

constexpr int kPdxPro_SystemInfoReplySize = 254; // STX, 252 payload bytes, ETX
constexpr int kPdxPro_SystemInfoPayloadSize = 252;
constexpr int kPdxPro_FormCount = 9;
constexpr int kPdxPro_FormRecordSize = 17;
constexpr int kPdxPro_ModelOffset = 200;
constexpr int kPdxPro_UnitIDOffset = 216;
constexpr int kPdxPro_DateModeOffset = 251;
constexpr int kPdxPro_MaxRecordCount = 1499;
constexpr int kPdxPro_MaxFieldCount = 9;

// sum = the low 8 bits of the sum of the first count bytes. False (sum 0) for null data or a
// negative count.
bool pdxProDeviceComputeCheckSum(const unsigned char* data, short count, unsigned char& sum);

// Decimal value of count digit characters. The buffer is changed in place (each byte minus '0');
// non-digits are not refused, they count with their wrapped value, so callers check the range.
bool convertAsciiBufferToHex(unsigned char* digits, short count, long& value);

// Every 0xFF byte among the first count bytes becomes 0x00.
bool filterOutFFsInBuffer(unsigned char* bytes, short count);
