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
    // The unit IDs of the first, second, ... remote-mode connection (the last one stays); empty:
    // unitID throughout. A scanner swapped between two connections.
    std::vector<std::string> unitIDs;
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
    // After the last field, one more block instead of the final acknowledgement (a scanner that
    // holds more than it announced).
    bool extraBlock = false;
    // The first N system information requests after an erase get no answer.
    long muteAfterErase = 0;
    // Scans made after an upload: added once the program leaves remote mode after a completed
    // upload, as a photographer scanning the next class while the job goes on.
    std::vector<PdxSimRecord> lateRecords;
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
    const std::string& currentUnitID() const;
    void logEvent(const std::string& text);
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
    long fConnections = 0;
    bool fUploadCompleted = false;
    bool fLateScansAdded = false;
    bool fExtraBlockSent = false;
    bool fErased = false;
    long fMutedAfterErase = 0;
};

// Reads a records file: one record per line, fields separated by TAB (barcode, date, time,
// optional further fields). Blank lines are skipped; a trailing CR is dropped.
bool readPdxSimRecords(const std::string& path, std::vector<PdxSimRecord>& records);
