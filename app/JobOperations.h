// The long operations of a job, one virtual function each.
//
// The sequencer tick and the window's buttons start these operations; later work replaces single
// functions (the image list, the scanner workflows, the match task) by deriving from this class.
//
// Contract of every worker operation (all except rescanSerialPort):
// - It runs on a worker thread of its own. The command that started it took the worker guard
//   (tryAcquireRunningThread) atomically before the thread started, and the launcher releases the
//   guard when the operation returns. An operation never takes or releases the guard itself, so an
//   operation may call another one inline (the erase reconnecting, the combined locate and
//   download) without letting a second worker start in between.
// - It moves the job only by writing context.job()->nextTask (and curTask where its own
//   description says so). Leaving nextTask as it is leaves the job resting until a button is
//   pressed. context.job() is null when no job exists; the operation then does its work without
//   moving anything.
// - It reaches the user and the host only through the context: context.hostEvents() sends
//   events (never waits), context.status() shows the status line, busy indicator and scanner
//   fields (safe from any thread), alerts go through myNSRunAlertPanel (the worker waits for the
//   answer), messages through myPrintf / myPrintfDebug.
// - It asks for the orderly end of the program with context.terminateWhenDone(); the request is
//   carried out after the operation has returned and the guard is free, so the quit question for
//   a running worker is not raised against the operation that asked.
//
// rescanSerialPort runs on the user-interface thread (at launch and for the rescan button), not on
// a worker, and does not hold the guard.
#pragma once

#include "JobContext.h"

class JobOperations {
  public:
    virtual ~JobOperations() = default;

    // Task 5: list the working folder's photos into BarcodeImageList.txt, then nextTask = 6.
    virtual void buildTheImageList(JobContext& context);
    // Task 6: decide whether a download is needed (existing data file, testing mode).
    virtual void prepareForConnection(JobContext& context);
    // Task 7: connect to the scanner and read its model and serial number.
    virtual void makeConnection(JobContext& context);
    // Task 8: download the stored scans into BarcodeDataSource.txt.
    virtual void downloadData(JobContext& context);
    // Task 9: match scans with photos, review, write BarcodeMatchedList.txt.
    virtual void matchBarcodeDataWithPhotos(JobContext& context);
    // Task 12: erase the scanner after the host's permission; sends 'ok02' or 'err2'.
    virtual void deleteData(JobContext& context);
    // Connect and download one after the other on the same worker.
    virtual void autoLocateAndDownload(JobContext& context);
    // Rediscover the serial ports and choose the current port (user-interface thread).
    virtual void rescanSerialPort(JobContext& context);
};
