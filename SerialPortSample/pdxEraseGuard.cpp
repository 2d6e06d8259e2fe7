#include "pdxEraseGuard.h"

#include "MessageLog.h"
#include "pdxProDevice.h"

namespace {

using eState = barcodeDataFileMgr::SavedScans::eState;

const char* scansWord(long count) {
    return count == 1 ? "scan" : "scans";
}

} // namespace

pdxEraseGuard pdxEraseGuard::ForDataFile(const std::string& path) {
    pdxEraseGuard guard;
    guard.fDataFilePath = path;
    return guard;
}

pdxEraseGuard pdxEraseGuard::OnPurpose(const std::string& unitID, long scans) {
    pdxEraseGuard guard;
    guard.fOnPurpose = true;
    guard.fShownUnitID = unitID;
    guard.fShownScans = scans;
    return guard;
}

pdxEraseCheck pdxEraseGuard::Check(const std::string& scannerUnitID, long scannerScans,
                                   const std::string& expectedUnitID) const {
    pdxEraseCheck check;
    check.scannerUnitID = scannerUnitID;
    check.scannerScans = scannerScans;
    check.expectedUnitID = expectedUnitID;
    if (fOnPurpose) {
        check.savedUnitID = fShownUnitID;
        check.savedScans = fShownScans;
        if (scannerUnitID != expectedUnitID)
            check.verdict = ePdxEraseVerdict_NotExpectedScanner;
        else if (scannerUnitID != fShownUnitID || scannerScans != fShownScans)
            check.verdict = ePdxEraseVerdict_NotAsShown;
        else
            check.verdict = scannerScans == 0 ? ePdxEraseVerdict_NothingToErase : ePdxEraseVerdict_Allowed;
        return check;
    }

    check.dataFilePath = fDataFilePath;
    barcodeDataFileMgr::SavedScans saved = barcodeDataFileMgr::readSavedScans(fDataFilePath);
    check.dataFileState = saved.state;
    check.dataFileProblem = saved.problem;
    check.savedUnitID = saved.serialNumber;
    check.savedScans = static_cast<long>(saved.scanLines.size());

    // Who the scanner is comes first: a scanner other than the one expected, or than the one the
    // saved scans came from, is never erased, even when it holds nothing.
    if (scannerUnitID != expectedUnitID) {
        check.verdict = ePdxEraseVerdict_NotExpectedScanner;
        return check;
    }
    const bool unnamed = scannerUnitID == kUnnamedBarcodeID;
    if (saved.found() && !unnamed && saved.serialNumber != scannerUnitID) {
        check.verdict = ePdxEraseVerdict_OtherScanner;
        return check;
    }
    if (scannerScans == 0) {
        check.verdict = ePdxEraseVerdict_NothingToErase;
        return check;
    }
    if (saved.state == eState::Missing) {
        check.verdict = ePdxEraseVerdict_NoDataFile;
        return check;
    }
    if (!saved.found()) {
        check.verdict = ePdxEraseVerdict_UnreadableDataFile;
        return check;
    }
    if (scannerScans > check.savedScans) {
        check.verdict = ePdxEraseVerdict_LateScans;
        return check;
    }
    if (scannerScans < check.savedScans) {
        check.verdict = ePdxEraseVerdict_MissingScans;
        return check;
    }
    check.verdict = ePdxEraseVerdict_Allowed;
    return check;
}

std::string pdxEraseCheck::explain() const {
    const char* scanner = scannerUnitID.c_str();
    const char* file = dataFilePath.empty() ? "(no data file named)" : dataFilePath.c_str();
    switch (verdict) {
    case ePdxEraseVerdict_Allowed:
        if (dataFilePath.empty())
            return myFormat("Scanner %s holds the %ld %s that were to be erased.", scanner, scannerScans,
                            scansWord(scannerScans));
        return myFormat("Scanner %s holds %ld %s, and %s holds the same %ld %s from it.", scanner,
                        scannerScans, scansWord(scannerScans), file, savedScans, scansWord(savedScans));
    case ePdxEraseVerdict_NothingToErase:
        return myFormat("Scanner %s holds no scans: there is nothing to erase.", scanner);
    case ePdxEraseVerdict_NotExpectedScanner:
        return myFormat("The scanner that answered is %s (holding %ld %s), not %s, the scanner this was "
                        "meant for.",
                        scanner, scannerScans, scansWord(scannerScans), expectedUnitID.c_str());
    case ePdxEraseVerdict_OtherScanner:
        return myFormat("Scanner %s holds %ld %s, but the %ld %s saved in %s came from scanner %s.", scanner,
                        scannerScans, scansWord(scannerScans), savedScans, scansWord(savedScans), file,
                        savedUnitID.empty() ? "(none named)" : savedUnitID.c_str());
    case ePdxEraseVerdict_NoDataFile:
        return myFormat("Scanner %s holds %ld %s, and none of them is saved: there is no %s.", scanner,
                        scannerScans, scansWord(scannerScans), file);
    case ePdxEraseVerdict_UnreadableDataFile:
        return myFormat("Scanner %s holds %ld %s, and %s cannot be read as a barcode data file (%s), so "
                        "nothing shows that they are saved.",
                        scanner, scannerScans, scansWord(scannerScans), file, dataFileProblem.c_str());
    case ePdxEraseVerdict_LateScans:
        return myFormat("Scanner %s holds %ld %s, but %s holds only %ld: %ld %s made after the download "
                        "%s saved nowhere.",
                        scanner, scannerScans, scansWord(scannerScans), file, savedScans,
                        scannerScans - savedScans, scansWord(scannerScans - savedScans),
                        scannerScans - savedScans == 1 ? "is" : "are");
    case ePdxEraseVerdict_MissingScans:
        return myFormat("Scanner %s holds %ld %s, fewer than the %ld saved from it in %s: its memory has "
                        "changed since that download, so the file does not show what it holds now.",
                        scanner, scannerScans, scansWord(scannerScans), savedScans, file);
    case ePdxEraseVerdict_NotAsShown:
        return myFormat("Scanner %s now holds %ld %s; the erase was meant for the %ld %s of scanner %s.",
                        scanner, scannerScans, scansWord(scannerScans), savedScans, scansWord(savedScans),
                        savedUnitID.c_str());
    }
    return std::string();
}
