#include "PdxSimulator.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <thread>

namespace {

constexpr unsigned char kSTX = 0x02, kETX = 0x03, kENQ = 0x05, kACK = 0x06, kBEL = 0x07, kNAK = 0x15,
                        kESC = 0x1B;

std::string text(unsigned char byte) {
    return std::string(1, static_cast<char>(byte));
}

// A fixed-width field: the text cut or padded with 0xFF to width bytes.
std::string padded(const std::string& value, size_t width, char fill) {
    std::string result = value.substr(0, width);
    result.resize(width, fill);
    return result;
}

std::string digits(long value, int width) {
    char buffer[32];
    snprintf(buffer, sizeof buffer, "%0*ld", width, value);
    return buffer;
}

} // namespace

bool readPdxSimRecords(const std::string& path, std::vector<PdxSimRecord>& records) {
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open())
        return false;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        PdxSimRecord record;
        size_t start = 0;
        while (true) {
            size_t tab = line.find('\t', start);
            record.fields.push_back(
                line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
            if (tab == std::string::npos)
                break;
            start = tab + 1;
        }
        records.push_back(record);
    }
    return true;
}

PdxSimulator::PdxSimulator(PdxSimOptions options) : fOptions(std::move(options)) {}

PdxSimulator::~PdxSimulator() {
    if (!fOptions.linkPath.empty())
        unlink(fOptions.linkPath.c_str());
    if (fSlaveKeeper >= 0)
        close(fSlaveKeeper);
    if (fMaster >= 0)
        close(fMaster);
    if (fLog)
        fclose(fLog);
}

bool PdxSimulator::start() {
    fStart = std::chrono::steady_clock::now();
    fMaster = posix_openpt(O_RDWR | O_NOCTTY);
    if (fMaster < 0 || grantpt(fMaster) != 0 || unlockpt(fMaster) != 0) {
        fprintf(stderr, "pdx-sim: cannot open a pseudo-terminal - %s\n", strerror(errno));
        return false;
    }
    fSlavePath = ptsname(fMaster);
    // Holding the slave open keeps the master readable while the program closes and reopens
    // the port; raw, so that nothing is echoed before the program sets its own attributes.
    fSlaveKeeper = open(fSlavePath.c_str(), O_RDWR | O_NOCTTY);
    if (fSlaveKeeper >= 0) {
        struct termios raw;
        if (tcgetattr(fSlaveKeeper, &raw) == 0) {
            cfmakeraw(&raw);
            tcsetattr(fSlaveKeeper, TCSANOW, &raw);
        }
    }
    unlink(fOptions.linkPath.c_str());
    if (symlink(fSlavePath.c_str(), fOptions.linkPath.c_str()) != 0) {
        fprintf(stderr, "pdx-sim: cannot make the link %s - %s\n", fOptions.linkPath.c_str(),
                strerror(errno));
        return false;
    }
    if (!fOptions.logPath.empty()) {
        fLog = fopen(fOptions.logPath.c_str(), "w");
        if (!fLog) {
            fprintf(stderr, "pdx-sim: cannot write the log %s - %s\n", fOptions.logPath.c_str(),
                    strerror(errno));
            return false;
        }
    }
    return true;
}

void PdxSimulator::serve(volatile bool& stop) {
    char buffer[512];
    while (!stop && !fDisconnected) {
        struct pollfd poller = {fMaster, POLLIN, 0};
        int ready = poll(&poller, 1, 100);
        if (ready <= 0)
            continue;
        if (!(poller.revents & POLLIN)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        ssize_t count = read(fMaster, buffer, sizeof buffer);
        if (count <= 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        logBytes("host", buffer, static_cast<size_t>(count));
        for (ssize_t i = 0; i < count && !fDisconnected; ++i)
            handleByte(static_cast<unsigned char>(buffer[i]));
    }
    if (fDisconnected)
        return;
    // Asked to stop: what the program wrote before it let go of the port (its closing ESC) may
    // still wait in the terminal; record it so that the byte record is complete.
    for (;;) {
        struct pollfd poller = {fMaster, POLLIN, 0};
        if (poll(&poller, 1, 0) <= 0 || !(poller.revents & POLLIN))
            return;
        ssize_t count = read(fMaster, buffer, sizeof buffer);
        if (count <= 0)
            return;
        logBytes("host", buffer, static_cast<size_t>(count));
    }
}

bool PdxSimulator::ready() const {
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - fStart;
    return elapsed.count() >= fOptions.readyAfterSeconds;
}

int PdxSimulator::fieldsPerRecord() const {
    if (fOptions.fieldsPerRecord >= 0)
        return fOptions.fieldsPerRecord;
    size_t most = 0;
    for (const PdxSimRecord& record : fOptions.records)
        most = std::max(most, record.fields.size());
    return most == 0 ? 3 : static_cast<int>(most);
}

void PdxSimulator::handleByte(unsigned char byte) {
    if (!ready())
        return;
    ++fPendingRequestBytes;
    if (fInFrame) {
        fFrame += static_cast<char>(byte);
        if (byte == kETX) {
            fInFrame = false;
            handleFrame(fFrame);
        }
        return;
    }
    switch (byte) {
    case kSTX:
        fInFrame = true;
        fFrame.clear();
        return;
    case kENQ:
        if (fUploadActive && !fUploadHeaderSent) {
            fUploadHeaderSent = true;
            sendUploadBlock();
            return;
        }
        reply(text(fOptions.handshakeFault == 1 ? kNAK : kACK));
        return;
    case 'U':
        reply(text(fOptions.handshakeFault == 2 ? kNAK : kBEL));
        return;
    case 'T':
        if (fOptions.handshakeFault == 3) {
            reply(text(kNAK));
            return;
        }
        ++fConnections;
        logEvent("connection " + std::to_string(fConnections) + " unit " + currentUnitID());
        reply(text(kACK));
        return;
    case kACK:
        if (!fUploadActive) {
            fPendingRequestBytes = 0; // the end of a transaction: no answer
            return;
        }
        if (fFieldsSent < static_cast<long>(fOptions.records.size()) * fieldsPerRecord()) {
            sendUploadBlock();
            return;
        }
        if (fOptions.extraBlock && !fExtraBlockSent) {
            fExtraBlockSent = true;
            logEvent("extra block instead of the final acknowledgement");
            reply(block("EXTRA"));
            return;
        }
        fUploadActive = false;
        fUploadCompleted = true;
        reply(text(kACK));
        return;
    case kESC:
        fUploadActive = false;
        fPendingRequestBytes = 0;
        if (fUploadCompleted && !fLateScansAdded && !fOptions.lateRecords.empty()) {
            fLateScansAdded = true;
            fOptions.records.insert(fOptions.records.end(), fOptions.lateRecords.begin(),
                                    fOptions.lateRecords.end());
            logEvent("late scans " + std::to_string(fOptions.lateRecords.size()) + ", now " +
                     std::to_string(fOptions.records.size()));
        }
        return;
    default:
        fPendingRequestBytes = 0;
        return;
    }
}

void PdxSimulator::handleFrame(const std::string& frame) {
    const std::string command = frame.substr(0, frame.size() - 1);
    if (command == "RX") {
        if (fErased && fMutedAfterErase < fOptions.muteAfterErase) {
            ++fMutedAfterErase;
            logEvent("no answer to the system information after the erase");
            fPendingRequestBytes = 0;
            return;
        }
        reply(text(kACK) + systemInfoReply());
        return;
    }
    if (command == "CU1") {
        fUploadActive = true;
        fUploadHeaderSent = false;
        fNextBlock = 0;
        fFieldsSent = 0;
        reply(text(kACK));
        return;
    }
    if (command == "CE1") {
        logEvent("erase form 1 holding " + std::to_string(fOptions.records.size()) + " records");
        fErased = true;
        if (!fOptions.eraseKeepsData) {
            fOptions.records.clear();
            fOptions.reportRecords.clear();
        }
        reply(text(kACK));
        return;
    }
    if (command == "RD") {
        reply(text(kACK) + text(kSTX) + "12/10/26" + text(kETX));
        return;
    }
    if (command == "RT") {
        reply(text(kACK) + text(kSTX) + "10:20:30" + text(kETX));
        return;
    }
    if (command == "RC") {
        reply(text(kACK) + block(std::string(34, 'S')));
        return;
    }
    reply(text(kNAK));
}

std::string PdxSimulator::block(const std::string& data) const {
    std::string cut = data.substr(0, 127);
    unsigned sum = 0;
    for (unsigned char byte : cut)
        sum += byte;
    return text(static_cast<unsigned char>(cut.size())) + cut + text(static_cast<unsigned char>(sum & 0xFF));
}

void PdxSimulator::sendUploadBlock() {
    const long index = fNextBlock++;
    std::string data;
    if (index == 0) {
        data = "FORM1" + digits(static_cast<long>(fOptions.records.size()), 5) + digits(fieldsPerRecord(), 2);
    } else {
        const long field = fFieldsSent++;
        const long recordIndex = field / fieldsPerRecord();
        const size_t fieldIndex = static_cast<size_t>(field % fieldsPerRecord());
        const PdxSimRecord& record = fOptions.records[static_cast<size_t>(recordIndex)];
        if (fieldIndex < record.fields.size())
            data = record.fields[fieldIndex];
    }
    if (index == fOptions.disconnectBlock) {
        logBytes("event", "disconnect", 10);
        close(fSlaveKeeper);
        fSlaveKeeper = -1;
        close(fMaster);
        fMaster = -1;
        fDisconnected = true;
        return;
    }
    if (index == fOptions.dropReplyBlock) {
        fPendingRequestBytes = 0;
        return;
    }
    std::string bytes = block(data);
    if (index == fOptions.badLengthBlock)
        bytes = text(0xFF);
    if (index == fOptions.badChecksumBlock)
        bytes.back() = static_cast<char>(bytes.back() + 1);
    reply(bytes);
}

std::string PdxSimulator::systemInfoReply() const {
    std::string payload;
    for (int form = 0; form < 9; ++form) {
        std::string name = padded("FORM" + std::to_string(form), 8, ' ');
        std::string records = "00000", fields = "00";
        if (form == 1) {
            records = fOptions.reportRecords.empty() ? digits(static_cast<long>(fOptions.records.size()), 5)
                                                     : padded(fOptions.reportRecords, 5, '0');
            fields = fOptions.reportFields.empty() ? digits(fieldsPerRecord(), 2)
                                                   : padded(fOptions.reportFields, 2, '0');
        }
        payload += name + records + " " + fields + " ";
    }
    payload += std::string(47, ' ');
    payload += padded(fOptions.model, 8, '\xFF');
    payload += padded("V1.00", 8, '\xFF');
    payload += fOptions.noUnitID ? std::string(8, '\xFF') : padded(currentUnitID(), 8, '\xFF');
    payload += padded("", 8, '\xFF');
    payload += "0000";
    payload += ' ';
    payload += "0000";
    payload += ' ';
    payload += std::string(9, '0');
    payload += fOptions.dateMode < 0 ? '\xFF' : static_cast<char>(fOptions.dateMode);
    return text(kSTX) + payload + text(fOptions.badSystemInfoEnd ? 0x00 : kETX);
}

const std::string& PdxSimulator::currentUnitID() const {
    if (fOptions.unitIDs.empty())
        return fOptions.unitID;
    size_t index = fConnections > 0 ? static_cast<size_t>(fConnections - 1) : 0;
    return fOptions.unitIDs[std::min(index, fOptions.unitIDs.size() - 1)];
}

void PdxSimulator::logEvent(const std::string& text) {
    logBytes("event", text.data(), text.size());
}

void PdxSimulator::reply(const std::string& bytes) {
    const size_t requestBytes = fPendingRequestBytes;
    fPendingRequestBytes = 0;
    if (fOptions.pace == PdxSimPace::Instant) {
        logBytes("scanner", bytes.data(), bytes.size());
        if (write(fMaster, bytes.data(), bytes.size()) < 0)
            fprintf(stderr, "pdx-sim: write failed - %s\n", strerror(errno));
        return;
    }
    auto next = std::chrono::steady_clock::now();
    auto wire = [this](size_t count) {
        return std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(count * 10.0 / static_cast<double>(fOptions.baud)));
    };
    // The request's bytes take their wire time to arrive before the scanner can answer.
    next += wire(requestBytes);
    logBytes("scanner", bytes.data(), bytes.size());
    if (fOptions.pace == PdxSimPace::Reply) {
        std::this_thread::sleep_until(next + wire(bytes.size()));
        if (write(fMaster, bytes.data(), bytes.size()) < 0)
            fprintf(stderr, "pdx-sim: write failed - %s\n", strerror(errno));
        return;
    }
    for (char byte : bytes) {
        next += wire(1);
        std::this_thread::sleep_until(next);
        if (write(fMaster, &byte, 1) < 0)
            fprintf(stderr, "pdx-sim: write failed - %s\n", strerror(errno));
    }
}

void PdxSimulator::logBytes(const char* who, const char* bytes, size_t length) {
    if (!fLog)
        return;
    fputs(who, fLog);
    if (std::strcmp(who, "event") == 0) {
        fprintf(fLog, " %.*s\n", static_cast<int>(length), bytes);
        fflush(fLog);
        return;
    }
    for (size_t i = 0; i < length; ++i)
        fprintf(fLog, " %02x", static_cast<unsigned char>(bytes[i]));
    fputc('\n', fLog);
    fflush(fLog);
}
