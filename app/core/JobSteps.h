// The steps of a job, one function each, and what a step hands back to the job controller.
//
// Contract of every step except rescanSerialPort:
// - It runs on a worker thread of its own. The command that started it took the worker guard
//   atomically before the thread started; the controller releases the guard after the step has
//   returned. A step never takes or releases the guard itself, so a step may run another one
//   inline (the erase reconnecting) without letting a second worker start in between.
// - It never touches the job record. It returns the task that follows it; nothing means the job
//   rests until the user presses a button. The controller writes that successor into the record
//   right before it releases the guard, so the tick never sees a successor while its step is
//   still finishing. Without a job (context.hasJob() false) the step does its work and the
//   controller writes nothing.
// - It reaches the user and the host only through the context: context.hostEvents() sends events
//   (never waits), context.status() shows the status line, busy indicator and scanner fields
//   (safe from any thread), alerts go through myNSRunAlertPanel (the worker waits for the answer),
//   messages through myPrintf / myPrintfDebug.
//
// rescanSerialPort runs on the user-interface thread (at launch and for the rescan button), not on
// a worker, and does not hold the guard.
#pragma once

#include "JobCheckList.h"
#include "JobContext.h"

#include <optional>
#include <string>

// The task that follows a step; none: the job rests.
using NextTask = std::optional<eVeskBarcodeTask>;

// What a step that may end the program hands back.
struct StepResult {
    NextTask next;
    // The step asks for the orderly end of the program (quit question, then 'qend'). The
    // controller asks for it once the guard is free, so the quit question for a running worker is
    // not raised against the step that asked.
    bool terminateProgram = false;
};

class JobSteps {
  public:
    virtual ~JobSteps() = default;

    // Task 5: lists the working folder's photos into BarcodeImageList.txt; then task 6.
    virtual NextTask buildTheImageList(JobContext& context) = 0;
    // Task 6: decides whether a download is needed (existing data file, testing mode).
    virtual NextTask prepareForConnection(JobContext& context) = 0;
    // Task 7: connects to the scanner and reads its model and serial number.
    virtual NextTask makeConnection(JobContext& context) = 0;
    // Task 8: downloads the stored scans into BarcodeDataSource.txt.
    virtual NextTask downloadData(JobContext& context) = 0;
    // Task 9: matches scans with photos, lets the user review, writes BarcodeMatchedList.txt.
    virtual NextTask matchBarcodeDataWithPhotos(JobContext& context) = 0;
    // Task 12: erases the scanner after the host's permission; sends 'ok02' (and ends the
    // program) or 'err2' (the program stays open). Never moves the job.
    virtual StepResult deleteData(JobContext& context) = 0;
    // Rediscovers the serial ports and chooses the current port (user-interface thread).
    virtual void rescanSerialPort(JobContext& context) = 0;
    // The user chose the port at path in the main window: it becomes the current port and is
    // remembered in the settings (user-interface thread). Steps without ports ignore it.
    virtual void chooseSerialPort(JobContext& context, const std::string& path) {
        (void)context;
        (void)path;
    }
};
