// The scanner's side of the remote-mode protocol, served on the master of a pseudo-terminal.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

struct PdxSimRecord {
    std::vector<std::string> fields;
};

enum class PdxSimPace { Instant, Reply, Byte };

struct PdxSimOptions {
    std::string linkPath;
    std::vector<PdxSimRecord> records;
    std::string unitID = "10700001";
    bool noUnitID = false;
    std::string model = "Z-1070";
    int dateMode = '1';        // -1: the scanner reports none (0xFF)
    int fieldsPerRecord = -1;  // -1: the most fields of any record (3 when none)
    std::string reportRecords; // digits sent instead of the real record count
    std::string reportFields;  // digits sent instead of the real field count
    PdxSimPace pace = PdxSimPace::Reply;
    long baud = 38400;
    double readyAfterSeconds = 0;
    std::string logPath;
    // Faults. Upload blocks are numbered 0 (the header) then 1, 2, ... for the fields in order.
    int handshakeFault = 0; // 1: wrong answer to 0x05, 2: to "U", 3: to "T"
    long badChecksumBlock = -1;
    long dropReplyBlock = -1;
    long badLengthBlock = -1;
    long disconnectBlock = -1;
    bool eraseKeepsData = false;
    bool badSystemInfoEnd = false;
};

class PdxSimulator {
  public:
    explicit PdxSimulator(PdxSimOptions options);
    ~PdxSimulator();

    // Opens the pseudo-terminal and makes the link to its slave. False with a message on stderr.
    bool start();
    // Serves until stop is set or an injected disconnect happens.
    void serve(volatile bool& stop);
    const std::string& slavePath() const { return fSlavePath; }

  private:
    void handleByte(unsigned char byte);
    void handleFrame(const std::string& frame);
    void reply(const std::string& bytes);
    void sendUploadBlock();
    std::string systemInfoReply() const;
    std::string block(const std::string& data) const;
    void logBytes(const char* who, const char* bytes, size_t length);
    int fieldsPerRecord() const;
    bool ready() const;

    PdxSimOptions fOptions;
    int fMaster = -1;
    int fSlaveKeeper = -1;
    std::string fSlavePath;
    FILE* fLog = nullptr;
    std::chrono::steady_clock::time_point fStart;
    bool fInFrame = false;
    std::string fFrame;
    size_t fPendingRequestBytes = 0;
    bool fUploadActive = false;
    bool fUploadHeaderSent = false;
    long fNextBlock = 0;
    long fFieldsSent = 0;
    bool fDisconnected = false;
};

// Reads a records file: one record per line, fields separated by TAB (barcode, date, time,
// optional further fields). Blank lines are skipped; a trailing CR is dropped.
bool readPdxSimRecords(const std::string& path, std::vector<PdxSimRecord>& records);
