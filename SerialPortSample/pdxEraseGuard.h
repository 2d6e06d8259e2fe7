// What the scanner's erase is checked against, and the check itself.
//
// Erasing is irreversible and the scanner may hold the only copy of a day's scans. So the erase
// command is sent only when, in the same remote-mode connection and right before the command,
// the scanner's system information shows that every scan it holds is saved:
// - ForDataFile: the scanner's unit ID equals the "SN=" of the barcode data file, and form 1's
//   record count equals the number of scan lines in the file (every data line, before any rule
//   of the matching about repeated scans). A scanner without a unit ID ("177?????") is checked by
//   its count alone. No data file, or one that cannot be read: nothing may be erased.
// - OnPurpose: the user was shown a scanner and how many scans it holds and chose to erase them
//   anyway; the scanner must still be that one and hold exactly that many.
// The scanner must also be the one the caller expects (the scanner the job talked to, the unit ID
// named on the command line).
//
// pdxProDevice::DeleteDataNew is the only caller of Check, and the only sender of the erase
// command, so no road to the erase can leave the check out.
#pragma once

#include "barcodeDataFileMgr.h"

#include <string>

enum ePdxEraseVerdict {
    ePdxEraseVerdict_Allowed,            // every scan the scanner holds is saved
    ePdxEraseVerdict_NothingToErase,     // form 1 is empty: no erase command is needed
    ePdxEraseVerdict_NotExpectedScanner, // the scanner is not the one the caller expected
    ePdxEraseVerdict_OtherScanner,       // the data file's scans came from another scanner
    ePdxEraseVerdict_NoDataFile,         // there is no data file
    ePdxEraseVerdict_UnreadableDataFile, // the data file cannot be read, or is not one
    ePdxEraseVerdict_LateScans,          // the scanner holds more scans than are saved
    ePdxEraseVerdict_MissingScans,       // the scanner holds fewer scans than are saved
    ePdxEraseVerdict_NotAsShown,         // on purpose: the scanner changed since the user was asked
};

// The two sides of one check, for the caller's messages.
struct pdxEraseCheck {
    ePdxEraseVerdict verdict = ePdxEraseVerdict_NoDataFile;
    std::string scannerUnitID;
    long scannerScans = 0;
    std::string expectedUnitID;
    // ForDataFile: the data file and what it holds; OnPurpose: what the user was shown.
    std::string dataFilePath;
    barcodeDataFileMgr::SavedScans::eState dataFileState = barcodeDataFileMgr::SavedScans::eState::Missing;
    std::string dataFileProblem;
    std::string savedUnitID;
    long savedScans = 0;

    bool allowsErase() const { return verdict == ePdxEraseVerdict_Allowed; }
    bool scannerIsEmpty() const { return verdict == ePdxEraseVerdict_NothingToErase; }
    // One sentence that names both sides, for the log and for the message area.
    std::string explain() const;
};

class pdxEraseGuard {
  public:
    // The scans saved in the barcode data file at path (empty: there is none).
    static pdxEraseGuard ForDataFile(const std::string& path);
    // The scanner the user was shown, holding scans scans, erased on purpose.
    static pdxEraseGuard OnPurpose(const std::string& unitID, long scans);

    // Compares the scanner (its unit ID and form 1's reported record count) with what is saved
    // and with the unit ID the caller expects. ForDataFile reads the data file anew on every call.
    pdxEraseCheck Check(const std::string& scannerUnitID, long scannerScans,
                        const std::string& expectedUnitID) const;

    bool onPurpose() const { return fOnPurpose; }
    const std::string& dataFilePath() const { return fDataFilePath; }

  private:
    pdxEraseGuard() = default;

    bool fOnPurpose = false;
    std::string fDataFilePath;
    std::string fShownUnitID;
    long fShownScans = 0;
};

// How an erase ended (pdxProDevice::DeleteDataNew).
enum ePdxEraseOutcome {
    ePdxEraseOutcome_Erased,         // the command was sent and form 1 then read empty
    ePdxEraseOutcome_NothingToErase, // form 1 was already empty: no command was needed
    ePdxEraseOutcome_Refused,        // the check refused (see check): no command was sent
    ePdxEraseOutcome_NotConfirmed,   // the command was sent, but form 1 could not be read afterwards
    ePdxEraseOutcome_DataRemains,    // the command was sent and form 1 still holds scans
    ePdxEraseOutcome_NoScanner,      // no remote mode or no system information: nothing was sent
    ePdxEraseOutcome_NoUnitID,       // no expected unit ID was given: the port was not touched
};

struct pdxEraseResult {
    ePdxEraseOutcome outcome = ePdxEraseOutcome_NoScanner;
    pdxEraseCheck check; // the two sides as they were right before the command (or the refusal)
    bool eraseCommandSent = false;
    // True when form 1 is known to be empty at the end.
    bool scannerIsEmpty() const {
        return outcome == ePdxEraseOutcome_Erased || outcome == ePdxEraseOutcome_NothingToErase;
    }
};
