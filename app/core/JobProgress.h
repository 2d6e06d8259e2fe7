// What the job's steps report for the job checklist at the top of the main window: one line per
// step with its state and its figures ("333 photos listed (2 without a date)", "Scanner 10700001
// found: 81 scans", "81 scans downloaded", ...). The steps report through this interface from
// their worker threads; JobChecklistModel keeps what they said, and the window shows it.
#pragma once

#include <cstddef>
#include <string>

// The steps of a job, in the order they run; each is one line of the checklist.
enum eJobStep : int {
    eJobStep_Photos = 0,  // the photos of the folder are listed
    eJobStep_Scanner,     // the scanner is found (its serial number and how many scans it holds)
    eJobStep_Download,    // its scans are downloaded into the folder
    eJobStep_Match,       // photos are matched to scans (and reviewed)
    eJobStep_HostConfirm, // Vesk-X is asked to confirm, and answers
    eJobStep_Erase,       // the scanner is erased
    eJobStep_Count
};

enum class eStepState {
    Waiting, // not reached yet
    Running,
    Done,
    Failed,  // with a problem that says what to do next
    Skipped, // not needed in this job (scans already in the folder, testing mode)
};

// Why a step failed; each has its own advice.
enum class eStepProblem {
    None,
    FolderRefused,       // Vesk-X handed a folder that cannot be used
    PhotoListNotWritten, // the photo list could not be written in the folder
    Cancelled,           // the user cancelled the job at one of the step's questions
    NoSerialPort,        // no serial port for the scanner
    NoScannerAnswer,     // the port is there but no scanner answered
    NotConnected,        // a download without a scanner that answered
    DownloadFailed,      // the transfer broke off or arrived damaged
    MatchFailed,         // no data file, no photo list, or nothing could be matched
    ReturnedToHost,      // the user went back to Vesk-X from the review
    NotErased,           // the erase was refused or failed
};

// What a match found.
struct MatchedFigures {
    size_t photos = 0;             // photos placed under a barcode
    size_t scans = 0;              // scans in the data file
    size_t doubtfulPhotos = 0;     // photos marked as doubtful
    size_t scansWithoutPhotos = 0; // barcodes that received no photo
};

class JobProgress {
  public:
    virtual ~JobProgress() = default;
    // A step starts, ends, fails (with its problem) or is passed over.
    virtual void setStepState(eJobStep step, eStepState state, eStepProblem problem = eStepProblem::None) = 0;
    // How far the running step has come: done of total (files read, scans received).
    virtual void setStepProgress(eJobStep step, size_t done, size_t total) = 0;
    // The figures of the steps that have some.
    virtual void photosListed(size_t photos, size_t undatedPhotos) = 0;
    // scans: the number the scanner reported in its system information.
    virtual void scannerFound(const std::string& serialNumber, long scans) = 0;
    virtual void scansDownloaded(size_t scans) = 0;
    virtual void photosMatched(const MatchedFigures& figures) = 0;
};
