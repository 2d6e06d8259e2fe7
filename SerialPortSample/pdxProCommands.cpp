#include "pdxProCommands.h"

#include "MessageLog.h"

const char kPdxPro_DummyModemCommand[] = "ATZ";
const char kPdxPro_Begin05Cmd[] = "\x05";
const char kPdxPro_AckResp06Cmd[] = "\x06";
const char kPdxPro_EnterRemoteMode1Cmd[] = "U";
const char kPdxPro_AckResp07Cmd[] = "\x07";
const char kPdxPro_EnterRemoteMode2Cmd[] = "T";
const char kPdxPro_QuitRemoteModeCmd[] = "\x1B";
const char kPdxPro_End06Cmd[] = "\x06";
const char kPdxPro_DeletDataCmd[] = "\x02"
                                    "CE1\x03";
const char kPdxPro_GetDateInfoCmd[] = "\x02"
                                      "RD\x03";
const char kPdxPro_GetTimeInfoCmd[] = "\x02"
                                      "RT\x03";
const char kPdxPro_GetSystemInfoCmd[] = "\x02"
                                        "RX\x03";
const char kPdxPro_GetBarCodeSettingCmd[] = "\x02"
                                            "RC\x03";

bool pdxProDeviceComputeCheckSum(const unsigned char* data, short count, unsigned char& sum) {
    sum = 0;
    if (data == nullptr || count < 0)
        return false;
    unsigned int total = 0;
    for (short i = 0; i < count; ++i)
        total += data[i];
    sum = static_cast<unsigned char>(total & 0xFF);
    return true;
}

bool convertAsciiBufferToHex(unsigned char* digits, short count, long& value) {
    double sum = 0.0;
    for (short i = 0; digits != nullptr && i < count; ++i) {
        digits[i] = static_cast<unsigned char>(digits[i] - 0x30);
        double place = 1.0;
        for (short k = 0; k < count - 1 - i; ++k)
            place *= 10.0;
        sum += digits[i] * place;
    }
    value = static_cast<long>(sum);
    myPrintfDebug(myFormat("\n\nconvertAsciiBufferToHex = [%3.2f] = [%i]\n\n", sum, static_cast<int>(value)));
    return true;
}

bool filterOutFFsInBuffer(unsigned char* bytes, short count) {
    for (short i = 0; bytes != nullptr && i < count; ++i) {
        if (bytes[i] == 0xFF)
            bytes[i] = 0x00;
    }
    return true;
}
