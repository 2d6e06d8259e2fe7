// The job steps of this program: the image list of the catalogue, the scanner workflows and the
// match task with its review, each returning the task that follows it.
#pragma once

#include "Barcode.h"
#include "JobProgress.h"
#include "JobSteps.h"
#include "ScannerWorkflows.h"

#include <memory>

class ReviewPrompt;

class VeskJobSteps : public JobSteps {
  public:
    // review: how the match is reviewed (kept across matches); null answers every review like an
    // unattended run.
    // progress (may be null) receives each step's state and figures for the job checklist.
    explicit VeskJobSteps(ReviewPrompt* review = nullptr, JobProgress* progress = nullptr);
    ~VeskJobSteps() override;

    NextTask buildTheImageList(JobContext& context) override;
    NextTask prepareForConnection(JobContext& context) override;
    NextTask makeConnection(JobContext& context) override;
    NextTask downloadData(JobContext& context) override;
    NextTask matchBarcodeDataWithPhotos(JobContext& context) override;
    StepResult deleteData(JobContext& context) override;
    void rescanSerialPort(JobContext& context) override;
    void chooseSerialPort(JobContext& context, const std::string& path) override;

    // The match tree last shown in the review (null before the first match).
    const BarcodeList* barcodeList() const { return fBarcodeList.get(); }

  private:
    void report(eJobStep step, eStepState state, eStepProblem problem = eStepProblem::None);

    ReviewPrompt* fReview;
    JobProgress* fProgress;
    ScannerWorkflows fScanner;
    // The match tree last shown in the review; replaced at each match.
    std::unique_ptr<BarcodeList> fBarcodeList;
};
