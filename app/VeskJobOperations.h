// The job operations this build carries, each wired to the code that does the work: the image
// list builder, the scanner workflows, the match task with its review window.
#pragma once

#include "Barcode.h"
#include "JobOperations.h"
#include "ScannerWorkflows.h"

#include <memory>
#include <string>

class QWidget;
class QtReviewPrompt;

class VeskJobOperations : public JobOperations {
  public:
    // mainWindow: the window the review is shown on (may be null: the review is then answered
    // like an unattended run).
    explicit VeskJobOperations(QWidget* mainWindow = nullptr);
    ~VeskJobOperations() override;

    void buildTheImageList(JobContext& context) override;
    void prepareForConnection(JobContext& context) override;
    void makeConnection(JobContext& context) override;
    void downloadData(JobContext& context) override;
    void matchBarcodeDataWithPhotos(JobContext& context) override;
    void deleteData(JobContext& context) override;
    void rescanSerialPort(JobContext& context) override;

    ScannerWorkflows& scanner() { return fScanner; }

  private:
    QWidget* fMainWindow;
    ScannerWorkflows fScanner;
    // The match tree last shown in the review; replaced at each match.
    std::unique_ptr<BarcodeList> fBarcodeList;
    std::unique_ptr<QtReviewPrompt> fReview;
};
