// The job steps of the program as the controller runs them: the image list over real photos and
// the match with the task that follows each way it can end.
#include "JobChecklistModel.h"
#include "JobContext.h"
#include "PhotoFixtures.h"
#include "Preferences.h"
#include "VeskJobSteps.h"

#include "CaseName.h"
#include "FileContent.h"
#include "RecordingHostEvents.h"
#include "RecordingMessageSink.h"
#include "RecordingShell.h"
#include "RecordingStatusDisplay.h"
#include "TaskName.h"
#include "TemporaryFolder.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <ostream>

namespace {

// Preferences held in memory, with the factory defaults under what a test sets.
class MapPreferences : public PreferenceStore {
  public:
    std::optional<std::string> value(const std::string& key) override {
        auto found = values.find(key);
        return found == values.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    void setValue(const std::string& key, const std::string& value) override { values[key] = value; }
    void registerDefaults(const std::map<std::string, std::string>& defaults) override {
        for (const auto& entry : defaults)
            values.insert(entry);
    }
    std::map<std::string, std::string> values;
};

class JobStepsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        unsetenv("VESK_ANSWERS");
        setenv("VESK_UNATTENDED", "1", 1);
        setPreferenceStore(&fPreferences);
        GeneralPreferencesController::setupDefaults();
    }
    void TearDown() override {
        setPreferenceStore(nullptr);
        unsetenv("VESK_ANSWERS");
        unsetenv("VESK_UNATTENDED");
    }
    JobContext context(const std::string& folder) { return JobContext(true, folder, fHost, fStatus, fShell); }

    testsupport::TemporaryFolder fFolder;
    MapPreferences fPreferences;
    testsupport::RecordingHostEvents fHost;
    testsupport::RecordingShell fShell;
    testsupport::RecordingStatusDisplay fStatus;
    testsupport::RecordingMessageSink fMessages;
    VeskJobSteps fSteps;
};

std::vector<std::string> photoRecords(const std::string& listPath) {
    std::vector<std::string> lines = testsupport::readLines(listPath);
    if (lines.size() < 2)
        return {};
    return std::vector<std::string>(lines.begin() + 2, lines.end());
}

} // namespace

TEST_F(JobStepsTest, ImageListListsTheRealPhotosOldestFirstAndNamesThePreparation) {
    ScopedTimeZone zone("UTC");
    // A school day: a test shot, two subjects, a retake in a subfolder of the second camera body.
    writeJpeg(fFolder.file("IMG_0102.JPG"), exifDate("2026:05:04 09:31:12"));
    writeJpeg(fFolder.file("IMG_0101.JPG"), exifDate("2026:05:04 09:30:40"));
    writeJpeg(fFolder.file("test shot.jpg"), exifDate("2026:05:04 09:29:58"));
    writeJpeg(fFolder.file("Body B/DSC_7001.JPG"), exifDate("2026:05:04 09:31:05"));
    fFolder.write("notes.txt", "not a photo\n");

    JobContext job = context(fFolder.path());
    EXPECT_EQ(fSteps.buildTheImageList(job), NextTask(eVeskBarcodeTask_PrepareForConnection));

    EXPECT_EQ(
        photoRecords(fFolder.path() + "BarcodeImageList.txt"),
        (std::vector<std::string>{"test shot.jpg\t050426\t092958", "IMG_0101.JPG\t050426\t093040",
                                  "Body B/DSC_7001.JPG\t050426\t093105", "IMG_0102.JPG\t050426\t093112"}));
    std::vector<std::string> texts = fStatus.texts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts.front(), "Validating Images for The Barcode Process...");
    EXPECT_EQ(texts.back(), "");
    EXPECT_EQ(fShell.frontRequests(), 2);
    EXPECT_TRUE(fHost.events().empty());
}

// The checklist's line for the photos: the files counted as they are read (the note among them),
// then the photos listed. (A photo without a camera date takes its file's date here.)
TEST_F(JobStepsTest, ChecklistCountsTheFilesReadAndThePhotosListed) {
    ScopedTimeZone zone("UTC");
    writeJpeg(fFolder.file("IMG_0101.JPG"), exifDate("2026:05:04 09:30:40"));
    writeJpeg(fFolder.file("IMG_0102.JPG"), exifDate("2026:05:04 09:31:12"));
    writeJpeg(fFolder.file("scan of a card.jpg"));
    fFolder.write("notes.txt", "not a photo\n");
    JobChecklistModel checklist;
    size_t lastDone = 0;
    size_t lastTotal = 0;
    checklist.setChangeHandler([&] {
        const ChecklistLine line = checklist.snapshot().line(eJobStep_Photos);
        if (line.state == eStepState::Running && line.total > 0) {
            lastDone = line.done;
            lastTotal = line.total;
        }
    });
    VeskJobSteps steps(nullptr, &checklist);
    JobContext job = context(fFolder.path());
    steps.buildTheImageList(job);

    EXPECT_EQ(lastDone, 4u);
    EXPECT_EQ(lastTotal, 4u);
    ChecklistSnapshot snapshot = checklist.snapshot();
    EXPECT_EQ(snapshot.line(eJobStep_Photos).state, eStepState::Done);
    EXPECT_EQ(snapshot.photosListed, 3u);
    EXPECT_EQ(snapshot.undatedPhotos, 0u);
}

TEST_F(JobStepsTest, ImageListThatCannotBeWrittenSaysSoAndTheJobStillGoesOn) {
    writeJpeg(fFolder.file("IMG_0101.JPG"), exifDate("2026:05:04 09:30:40"));
    // A folder where the list should be: no one can create the file, not even root.
    ASSERT_EQ(mkdir((fFolder.path() + "BarcodeImageList.txt").c_str(), 0700), 0);

    JobContext job = context(fFolder.path());
    EXPECT_EQ(fSteps.buildTheImageList(job), NextTask(eVeskBarcodeTask_PrepareForConnection));
    EXPECT_TRUE(fMessages.contains("The photo list BarcodeImageList.txt could not be written"));
    EXPECT_EQ(fStatus.texts().back(), "");
}

TEST_F(JobStepsTest, ChecklistSaysWhenThePhotoListCouldNotBeWritten) {
    writeJpeg(fFolder.file("IMG_0101.JPG"), exifDate("2026:05:04 09:30:40"));
    ASSERT_EQ(mkdir((fFolder.path() + "BarcodeImageList.txt").c_str(), 0700), 0);
    JobChecklistModel checklist;
    VeskJobSteps steps(nullptr, &checklist);
    JobContext job = context(fFolder.path());
    steps.buildTheImageList(job);
    const ChecklistLine line = checklist.snapshot().line(eJobStep_Photos);
    EXPECT_EQ(line.state, eStepState::Failed);
    EXPECT_EQ(line.problem, eStepProblem::PhotoListNotWritten);
}

namespace {

const char kScans[] = "CPU=PDX-PRO\tZ-1070\n"
                      "Scanned BarCode ID\tDate\tTime\n"
                      "A\t050126\t100000\n"
                      "B\t050126\t100500\n"
                      "C\t050126\t101000\n";
// Photos 10 s after each scan, on a camera clock 7 minutes ahead.
const char kPhotos[] = "VeskBarcode photo list\n"
                       "OriginalName\tCreationDate\n"
                       "p1.jpg\t050126\t100710\n"
                       "p2.jpg\t050126\t101210\n"
                       "p3.jpg\t050126\t101710\n";

struct MatchCase {
    const char* name;
    bool dataFile;
    bool reviewAllowed;
    const char* answers; // VESK_ANSWERS
    eVeskBarcodeTask next;
    bool treeKept;
};

void PrintTo(const MatchCase& c, std::ostream* out) {
    *out << c.name;
}

const MatchCase kMatchCases[] = {
    {"matched_asks_the_host_to_confirm", true, false, "", eVeskBarcodeTask_TellVeskToConfirm, true},
    {"reviewed_and_kept_asks_the_host_to_confirm", true, true, "review=1", eVeskBarcodeTask_TellVeskToConfirm,
     true},
    {"returned_to_the_host_cancels_the_job", true, true, "review=3", eVeskBarcodeTask_UserCancel, true},
    {"no_data_file_reports_the_failed_match", false, false, "", eVeskBarcodeTask_SendErrorToVeskMatchFailed,
     false},
};

class MatchStepTest : public JobStepsTest, public ::testing::WithParamInterface<MatchCase> {};

} // namespace

TEST_P(MatchStepTest, EachWayTheMatchEndsNamesItsTask) {
    const MatchCase& c = GetParam();
    fFolder.write("BarcodeImageList.txt", kPhotos);
    if (c.dataFile)
        fFolder.write("BarcodeDataSource.txt", kScans);
    fPreferences.values[sPrefs_doAllowUserToModifyData] = c.reviewAllowed ? "true" : "false";
    fPreferences.values[sPrefs_doPromptForMissingBarcodeDataFile] = "0";
    setenv("VESK_ANSWERS", c.answers, 1);

    JobContext job = context(fFolder.path());
    EXPECT_EQ(fSteps.matchBarcodeDataWithPhotos(job), NextTask(c.next));
    EXPECT_EQ(fSteps.barcodeList() != nullptr, c.treeKept);
    EXPECT_EQ(fStatus.texts().back(), "");
}

INSTANTIATE_TEST_SUITE_P(JobSteps, MatchStepTest, ::testing::ValuesIn(kMatchCases), testsupport::CaseName());
