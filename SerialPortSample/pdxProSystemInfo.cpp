// pdxProDevice: the system information (forms, model, unit ID, date mode).
#include "pdxProDevice.h"

#include "MessageLog.h"
#include "pdxProCommands.h"

#include <cstring>

namespace {

constexpr int kRecordCountDigits = 5;
constexpr int kFieldCountDigits = 2;
constexpr int kFieldCountOffset = 14;

// The payload rendered for the log, with 0xFF and NUL shown as escapes.
std::string replyText(const unsigned char* bytes, long length) {
    return LogString2(reinterpret_cast<const char*>(bytes), length);
}

void copyFilteredText(char* destination, const unsigned char* source, int length) {
    unsigned char text[16] = {0};
    std::memcpy(text, source, static_cast<size_t>(length));
    filterOutFFsInBuffer(text, static_cast<short>(length));
    std::memcpy(destination, text, static_cast<size_t>(length));
    destination[length] = '\0';
}

} // namespace

bool pdxProDevice::GetSystemInfoFormRecord(const unsigned char* payload, short formIndex,
                                           pdxSystemInfoFormRecord& record) {
    myPrintfDebug("pdxProDevice::GetSystemInfoFormRecord\n");
    if (payload == nullptr || formIndex < 0 || formIndex >= kPdxPro_FormCount)
        return false;
    std::memset(&record, 0, sizeof record);
    const unsigned char* form = payload + formIndex * kPdxPro_FormRecordSize;
    std::memcpy(record.FormName, form, 8);

    unsigned char digits[8] = {0};
    long value = 0;
    std::memcpy(digits, form + 8, kRecordCountDigits);
    convertAsciiBufferToHex(digits, kRecordCountDigits, value);
    record.ReportedCountOfRecords = value;
    if (value >= 1 && value <= kPdxPro_MaxRecordCount)
        record.CountOfRecords = static_cast<short>(value);

    std::memset(digits, 0, sizeof digits);
    std::memcpy(digits, form + kFieldCountOffset, kFieldCountDigits);
    convertAsciiBufferToHex(digits, kFieldCountDigits, value);
    record.ReportedCountOfFieldsPerRecord = value;
    if (value >= 1 && value <= kPdxPro_MaxFieldCount)
        record.CountOfFieldsPerRecord = static_cast<short>(value);
    return true;
}

bool pdxProDevice::GetSystemInfoCmd() {
    myPrintfDebug("pdxProDevice::GetSystemInfoCmd\n");
    if (!SendBegin05Cmd())
        return false;
    bool valid = false;
    unsigned char reply[501] = {0};
    if (SendCommand(kPdxPro_GetSystemInfoCmd, 4)) {
        if (ReadExpectedByte(kPdxPro_ACK))
            myPrintfDebug("GOOD - GOT 0x06\n");
        long expected = kPdxPro_SystemInfoReplySize;
        ReadBackTheCharacters(reinterpret_cast<char*>(reply), expected);
        valid = reply[0] == kPdxPro_STX && reply[kPdxPro_SystemInfoReplySize - 1] == kPdxPro_ETX;
        if (!valid)
            myPrintf(myFormat("GetSystemInfoCmd returned NOT VALID DATA of:\n[%s]\n\n",
                              replyText(reply, kPdxPro_SystemInfoReplySize).c_str()));
    }
    if (valid) {
        myPrintfDebug(myFormat("GetSystemInfoCmd returned:\n[%s]\n",
                               replyText(reply, kPdxPro_SystemInfoReplySize).c_str()));
        std::memset(fGetSystemInfo, 0, sizeof fGetSystemInfo);
        std::memcpy(fGetSystemInfo, reply + 1, kPdxPro_SystemInfoPayloadSize);
        myPrintfDebug(myFormat("\n\nfGetSystemInfo contains:\n[%s]\n\n",
                               replyText(fGetSystemInfo, kPdxPro_SystemInfoPayloadSize).c_str()));
        for (short i = 0; i < kPdxPro_FormCount; ++i) {
            std::memset(&fSystemInfoFormRecord[i], 0, sizeof fSystemInfoFormRecord[i]);
            GetSystemInfoFormRecord(fGetSystemInfo, i, fSystemInfoFormRecord[i]);
        }
        for (int i = 0; i < 2; ++i) {
            const pdxSystemInfoFormRecord& form = fSystemInfoFormRecord[i];
            myPrintfDebug(myFormat("\n\n=====> fSystemInfoFormRecord[%i] Info:\nFormName = [%.8s]\n"
                                   "CountOfRecords = [%i]\nCountOfFieldsPerRecord = [%i]\n\n",
                                   i, form.FormName, form.CountOfRecords, form.CountOfFieldsPerRecord));
        }
        std::memset(fModelName, 0, sizeof fModelName);
        std::memset(fUnitID, 0, sizeof fUnitID);
        std::memset(fDateMode, 0, sizeof fDateMode);
        copyFilteredText(fModelName, fGetSystemInfo + kPdxPro_ModelOffset, 8);
        copyFilteredText(fUnitID, fGetSystemInfo + kPdxPro_UnitIDOffset, 8);
        copyFilteredText(fDateMode, fGetSystemInfo + kPdxPro_DateModeOffset, 1);
        if (fUnitID[0] == '\0')
            std::strcpy(fUnitID, kUnnamedBarcodeID);
    }
    SendEnd06Cmd();
    return valid;
}

bool pdxProDevice::IsFormEmpty(ePdxFormFileNum form) const {
    return fSystemInfoFormRecord[form].ReportedCountOfRecords == 0;
}

bool pdxProDevice::CheckFormCountsForUpload(ePdxFormFileNum form) const {
    const pdxSystemInfoFormRecord& record = fSystemInfoFormRecord[form];
    if (record.ReportedCountOfRecords == 0)
        return true;
    if (record.CountOfRecords == 0) {
        myPrintf(myFormat("pdxProDevice => Form[%i] of the scanner on %s reports %ld records, outside 1 "
                          "to %i: its scans cannot be downloaded. Nothing was written and nothing "
                          "will be erased.\n",
                          form, fBsdPathName, record.ReportedCountOfRecords, kPdxPro_MaxRecordCount));
        return false;
    }
    if (record.CountOfFieldsPerRecord == 0) {
        myPrintf(myFormat("pdxProDevice => Form[%i] of the scanner on %s holds %i records but reports "
                          "%ld fields per record, outside 1 to %i: its scans cannot be downloaded. "
                          "Nothing was written and nothing will be erased.\n",
                          form, fBsdPathName, record.CountOfRecords, record.ReportedCountOfFieldsPerRecord,
                          kPdxPro_MaxFieldCount));
        return false;
    }
    return true;
}

void pdxProDevice::ReportFormCounts(int form) const {
    const pdxSystemInfoFormRecord& record = fSystemInfoFormRecord[form];
    myPrintfDebug(myFormat("\n\nForm[%i].countOfRecord = [%i]\nForm[%i].countFieldsPerRecord = [%i]\n\n",
                           form, record.CountOfRecords, form, record.CountOfFieldsPerRecord));
}
