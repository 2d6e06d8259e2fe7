// Whole jobs of the real programs: vesk-host launches VeskBarcode unattended on a folder of real
// photos, pdx-sim answers as the scanner on a pseudo-terminal, events travel over this test's own
// session bus. Each road checks the files, the events and what the scanner was sent.
#include "JobRoad.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

namespace {

// Commands as pdx-sim records them.
const char kUploadCommand[] = "02 43 55 31 03"; // STX "CU1" ETX
const char kEraseCommand[] = "02 43 45 31 03";  // STX "CE1" ETX

// vesk-host's exit statuses.
enum { eHost_Erased = 0, eHost_EraseFailed = 2, eHost_BadFolder = 3, eHost_Cancelled = 4, eHost_QuitEnd = 5 };

// A small shoot: three subjects scanned two minutes apart, each photographed soon after; the
// camera's clock runs five minutes ahead of the scanner's.
const std::vector<std::string> kScans = {"AAA1\t050426\t100000", "BBB2\t050426\t100200",
                                         "CCC3\t050426\t100400"};

void addShootPhotos(JobRoad& road) {
    road.addPhoto("IMG_0001.jpg", "2026:05:04 10:05:10");
    road.addPhoto("IMG_0002.jpg", "2026:05:04 10:05:25");
    road.addPhoto("IMG_0003.jpg", "2026:05:04 10:07:15");
    road.addPhoto("IMG_0004.jpg", "2026:05:04 10:09:05");
    road.addPhoto("IMG_0005.jpg", "2026:05:04 10:09:30");
}

const char kDataFile[] = "CPU=1234\tVers=1.01\tContents=barcodes\tModel=Z-1070\tSN=10700001\tDateFormat=1\t"
                         "moreInfo1\tmoreInfo2\tmoreInfo3\tmoreInfo4\n"
                         "Scanned BarCode ID\tDate Scanned\tTime Scanned\tresv1_HeaderName_max20\t"
                         "resv2_HeaderName_max20\tresv3_HeaderName_max20\n"
                         "AAA1\t050426\t100000\n"
                         "BBB2\t050426\t100200\n"
                         "CCC3\t050426\t100400\n";

const char kMatchedList[] = "IMG_0001.jpg\tAAA1\t\tBBB2\r"
                            "IMG_0002.jpg\tAAA1\t\tBBB2\r"
                            "IMG_0003.jpg\tBBB2\tAAA1\tCCC3\r"
                            "IMG_0004.jpg\tCCC3\tBBB2\t\r"
                            "IMG_0005.jpg\tCCC3\tBBB2\t\r";

const std::vector<std::string> kPhotoLines = {"OriginalName\tCreationDate\tCreationTime",
                                              "IMG_0001.jpg\t050426\t100510",
                                              "IMG_0002.jpg\t050426\t100525",
                                              "IMG_0003.jpg\t050426\t100715",
                                              "IMG_0004.jpg\t050426\t100905",
                                              "IMG_0005.jpg\t050426\t100930"};

void expectPhotoList(const JobRoad& road) {
    std::vector<std::string> lines = splitLines(road.folderFile("BarcodeImageList.txt"));
    ASSERT_EQ(lines.size(), kPhotoLines.size() + 1);
    EXPECT_EQ(lines[0].rfind("CPU=1234\tVers=1.00\tContents=ImageList\t", 0), 0u) << lines[0];
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()), kPhotoLines);
}

std::string failureNote(const JobRoad& road) {
    return "\n--- VeskBarcode's messages (last part) ---\n" +
           road.programMessages().substr(
               road.programMessages().size() > 6000 ? road.programMessages().size() - 6000 : 0);
}

// The program is still there a moment later: no 'qend' arrived.
void expectStillOpen(JobRoad& road) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_TRUE(road.hostRunning());
    for (const std::string& event : road.events())
        EXPECT_NE(event, "qend");
}

using Events = std::vector<std::string>;

} // namespace

TEST(JobEndToEnd, WholeRoadListsDownloadsMatchesAndErasesTheScanner) {
    JobRoad road;
    addShootPhotos(road);
    ASSERT_TRUE(road.startScanner(kScans));
    ASSERT_TRUE(road.startHost(HostRun{}));
    ASSERT_EQ(road.waitForHostExit(90), eHost_Erased) << failureNote(road);

    EXPECT_EQ(road.events(), (Events{"ok01", "ok02", "qend"}));
    expectPhotoList(road);
    EXPECT_EQ(road.folderFile("BarcodeDataSource.txt"), kDataFile);
    EXPECT_EQ(road.folderFile("BarcodeMatchedList.txt"), kMatchedList);
    // The clocks were lined up automatically, and the messages say how (three scans are too few
    // to be sure of).
    EXPECT_NE(road.programMessages().find("Clocks lined up: camera 5 min"), std::string::npos)
        << road.programMessages();
    EXPECT_NE(road.programMessages().find("ahead of the scanner; 3 of 3 scans fit"), std::string::npos);
    EXPECT_TRUE(road.scannerWasSent(kUploadCommand));
    EXPECT_TRUE(road.scannerWasSent(kEraseCommand));
    EXPECT_EQ(road.scannerRecordCount(), 0);
}

// Vesk-X dies while VeskBarcode waits for it to confirm: the photographer is told, the scans stay
// on the scanner (no erase, then or later), and the program still ends in order on SIGTERM.
TEST(JobEndToEnd, HostGoneWhileWaitingKeepsTheScansAndTheProgramEndsOnSigterm) {
    JobRoad road;
    addShootPhotos(road);
    ASSERT_TRUE(road.startScanner(kScans));
    HostRun run;
    run.hostOptions = {"--no-erase"};
    ASSERT_TRUE(road.startHost(run));
    ASSERT_TRUE(road.waitForEvent("ok01", 60)) << failureNote(road);
    pid_t program = road.killHostKeepingProgram();
    ASSERT_GT(program, 0);
    EXPECT_TRUE(road.waitForMessage(
        "Vesk-X has quit before it confirmed this job. The scans stay on the scanner", 15))
        << failureNote(road);
    std::this_thread::sleep_for(std::chrono::seconds(2)); // time for a wrong erase to start
    kill(program, SIGTERM);
    int status = -1;
    bool ended = false;
    for (int i = 0; i < 200 && !ended; ++i) {
        ended = waitpid(program, &status, WNOHANG) == program;
        if (!ended)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!ended) {
        kill(program, SIGKILL);
        waitpid(program, nullptr, 0);
    }
    prctl(PR_SET_CHILD_SUBREAPER, 0);
    EXPECT_TRUE(ended) << "SIGTERM did not end the program";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(road.scannerWasSent(kEraseCommand));
    EXPECT_EQ(road.scannerRecordCount(), 3);
    EXPECT_EQ(road.folderFile("BarcodeMatchedList.txt"), kMatchedList);
}

TEST(JobEndToEnd, ExistingDataFileIsUsedAndTheEraseReconnectsFirst) {
    JobRoad road;
    addShootPhotos(road);
    road.writeFolderFile("BarcodeDataSource.txt", kDataFile);
    ASSERT_TRUE(road.startScanner(kScans));
    HostRun run;
    run.answers = "NSAlertWindow_1002=1";
    ASSERT_TRUE(road.startHost(run));
    ASSERT_EQ(road.waitForHostExit(90), eHost_Erased) << failureNote(road);

    EXPECT_EQ(road.events(), (Events{"ok01", "ok02", "qend"}));
    EXPECT_EQ(road.folderFile("BarcodeMatchedList.txt"), kMatchedList);
    EXPECT_FALSE(road.scannerWasSent(kUploadCommand));
    std::string messages = road.programMessages();
    size_t reconnect = messages.find("Invalid Barcode Device SerialNumber => NEVER Initialized!");
    size_t connected = messages.find("pdxMakeConnection => Zebex Device CONNECTED!");
    size_t erased = messages.find("pdxDeleteData => DATA DELETED!!");
    ASSERT_NE(reconnect, std::string::npos) << failureNote(road);
    ASSERT_NE(connected, std::string::npos);
    ASSERT_NE(erased, std::string::npos);
    EXPECT_LT(reconnect, connected);
    EXPECT_LT(connected, erased);
    // The reconnection does not move the job: no download is started during or after the erase.
    EXPECT_EQ(messages.find("doIdle => eVeskBarcodeTask_DownloadBarcodeData"), std::string::npos);
    EXPECT_EQ(road.scannerRecordCount(), 0);
}

TEST(JobEndToEnd, UserCancelsAtTheScannerReadyQuestion) {
    JobRoad road;
    addShootPhotos(road);
    ASSERT_TRUE(road.startScanner(kScans));
    HostRun run;
    run.answers = "NSAlertWindow_1005=0";
    ASSERT_TRUE(road.startHost(run));
    ASSERT_EQ(road.waitForHostExit(90), eHost_Cancelled) << failureNote(road);

    EXPECT_EQ(road.events(), (Events{"abrt", "qend"}));
    EXPECT_TRUE(road.folderHas("BarcodeImageList.txt"));
    EXPECT_FALSE(road.folderHas("BarcodeDataSource.txt"));
    EXPECT_FALSE(road.folderHas("BarcodeMatchedList.txt"));
    EXPECT_FALSE(road.scannerWasSent(kUploadCommand));
    EXPECT_FALSE(road.scannerWasSent(kEraseCommand));
    EXPECT_EQ(road.scannerRecordCount(), 3);
}

TEST(JobEndToEnd, ScannerThatNeverAnswersLeavesTheJobRestingAtTheConnection) {
    JobRoad road;
    addShootPhotos(road);
    ASSERT_TRUE(road.startScanner(kScans, {"--ready-after", "100000"}));
    HostRun run;
    // Two connection attempts of two minutes each, run 40 times faster.
    run.environment["VESK_CLOCK_SPEEDUP"] = "40";
    ASSERT_TRUE(road.startHost(run));
    ASSERT_TRUE(road.waitForMessage("NO DEVICE CONNECTED!!!", 60)) << failureNote(road);
    expectStillOpen(road);
    std::string messages = road.programMessages();
    EXPECT_EQ(messages.find("doIdle => eVeskBarcodeTask_DownloadBarcodeData"), std::string::npos);
    EXPECT_TRUE(road.events().empty());
    EXPECT_FALSE(road.folderHas("BarcodeDataSource.txt"));
    EXPECT_FALSE(road.folderHas("BarcodeMatchedList.txt"));

    road.tellHost("quit");
    EXPECT_EQ(road.waitForHostExit(30), eHost_QuitEnd);
    EXPECT_EQ(road.events(), (Events{"qend"}));
    EXPECT_FALSE(road.scannerWasSent(kEraseCommand));
}

TEST(JobEndToEnd, TransferWithABadChecksumIsNotMatchedNorErased) {
    JobRoad road;
    addShootPhotos(road);
    ASSERT_TRUE(road.startScanner(kScans, {"--fault", "bad-checksum@2"}));
    ASSERT_TRUE(road.startHost(HostRun{}));
    ASSERT_TRUE(road.waitForMessage("Download FAILED", 60)) << failureNote(road);
    expectStillOpen(road);
    EXPECT_TRUE(road.events().empty());
    EXPECT_FALSE(road.folderHas("BarcodeDataSource.txt"));
    EXPECT_FALSE(road.folderHas("BarcodeMatchedList.txt"));
    EXPECT_TRUE(road.scannerWasSent(kUploadCommand));

    road.tellHost("quit");
    EXPECT_EQ(road.waitForHostExit(30), eHost_QuitEnd);
    EXPECT_FALSE(road.scannerWasSent(kEraseCommand));
    EXPECT_EQ(road.scannerRecordCount(), 3);
}

TEST(JobEndToEnd, DifferentScannerAtTheEraseIsNotErased) {
    JobRoad road;
    addShootPhotos(road);
    ASSERT_TRUE(road.startScanner(kScans));
    HostRun run;
    run.hostOptions = {"--no-erase", "--no-quit"};
    ASSERT_TRUE(road.startHost(run));
    ASSERT_TRUE(road.waitForEvent("ok01", 60)) << failureNote(road);
    EXPECT_EQ(road.folderFile("BarcodeDataSource.txt"), kDataFile);

    // Another scanner, with scans of its own, is on the port when the host allows the erase.
    ASSERT_TRUE(road.startScanner({"ZZZ9\t050426\t110000"}, {"--unit-id", "10799999"}));
    road.tellHost("eras");
    ASSERT_TRUE(road.waitForEvent("err2", 60)) << failureNote(road);
    expectStillOpen(road);
    EXPECT_FALSE(road.scannerWasSent(kEraseCommand));
    EXPECT_EQ(road.scannerRecordCount(), 1);
    EXPECT_NE(road.programMessages().find("Found DeviceID[10799999] != ExpectedDeviceID[10700001]"),
              std::string::npos);

    road.tellHost("quit");
    EXPECT_EQ(road.waitForHostExit(30), eHost_EraseFailed);
    EXPECT_EQ(road.events(), (Events{"ok01", "err2", "qend"}));
}

TEST(JobEndToEnd, FailingEraseReportsAndKeepsTheData) {
    JobRoad road;
    addShootPhotos(road);
    ASSERT_TRUE(road.startScanner(kScans, {"--fault", "erase-keeps-data"}));
    HostRun run;
    run.hostOptions = {"--no-quit"};
    ASSERT_TRUE(road.startHost(run));
    ASSERT_TRUE(road.waitForEvent("err2", 60)) << failureNote(road);
    expectStillOpen(road);
    EXPECT_TRUE(road.scannerWasSent(kEraseCommand));
    EXPECT_EQ(road.scannerRecordCount(), 3);
    EXPECT_EQ(road.folderFile("BarcodeMatchedList.txt"), kMatchedList);

    road.tellHost("quit");
    EXPECT_EQ(road.waitForHostExit(30), eHost_EraseFailed);
    EXPECT_EQ(road.events(), (Events{"ok01", "err2", "qend"}));
}

TEST(JobEndToEnd, TestingModeNeverTouchesTheScanner) {
    JobRoad road;
    addShootPhotos(road);
    road.writeFolderFile("BarcodeDataSource.txt", kDataFile);
    road.setPreference("doEnableInternalTesting", "true");
    ASSERT_TRUE(road.startScanner(kScans));
    HostRun run;
    run.answers = "NSAlertWindow_1001=-1";
    ASSERT_TRUE(road.startHost(run));
    ASSERT_EQ(road.waitForHostExit(90), eHost_Erased) << failureNote(road);

    EXPECT_EQ(road.events(), (Events{"ok01", "ok02", "ok02", "qend"}));
    EXPECT_EQ(road.folderFile("BarcodeMatchedList.txt"), kMatchedList);
    EXPECT_NE(road.programMessages().find("DUMMY EVENT - Erased DATA from Barcode Device..."),
              std::string::npos);
    EXPECT_EQ(road.scannerRecord().find("host "), std::string::npos) << road.scannerRecord();
    EXPECT_EQ(road.scannerRecordCount(), 3);
}

TEST(JobEndToEnd, WorkingFolderWithANonAsciiNameIsRefused) {
    JobRoad road;
    std::string folder = road.root() + "Fotos-Año/";
    ASSERT_EQ(system(("mkdir '" + folder + "'").c_str()), 0);
    ASSERT_TRUE(road.startScanner(kScans));
    HostRun run;
    run.folder = folder;
    ASSERT_TRUE(road.startHost(run));
    ASSERT_EQ(road.waitForHostExit(60), eHost_BadFolder) << failureNote(road);

    EXPECT_EQ(road.events(), (Events{"err3", "qend"}));
    EXPECT_EQ(system(("test -z \"$(ls -A '" + folder + "')\"").c_str()), 0);
    EXPECT_EQ(road.scannerRecord().find("host "), std::string::npos);
}

// Two subjects scanned after the download, while the host was still deciding: the next class is
// already lining up. The erase is refused ('err2'), the photographer downloads again, and the job
// goes on to a second 'ok01' and an erase that takes every scan.
TEST(JobEndToEnd, ScansMadeAfterTheDownloadAreDownloadedAgainBeforeTheErase) {
    JobRoad road;
    addShootPhotos(road);
    const std::string late = road.root() + "late.txt";
    ASSERT_EQ(
        system(("printf 'DDD4\\t050426\\t101000\\nEEE5\\t050426\\t101200\\n' > '" + late + "'").c_str()), 0);
    ASSERT_TRUE(road.startScanner(kScans, {"--late-records", late}));
    HostRun run;
    run.hostOptions = {"--no-quit"};
    run.answers = "NSAlertWindow_9010=0"; // Download Again
    ASSERT_TRUE(road.startHost(run));
    ASSERT_EQ(road.waitForHostExit(120), eHost_Erased) << failureNote(road);

    EXPECT_EQ(road.events(), (Events{"ok01", "err2", "ok01", "ok02", "qend"}));
    std::string messages = road.programMessages();
    EXPECT_NE(messages.find("2 scans made after the download are saved nowhere"), std::string::npos)
        << failureNote(road);
    EXPECT_NE(road.folderFile("BarcodeDataSource.txt").find("EEE5\t050426\t101200\n"), std::string::npos);
    EXPECT_EQ(road.scannerRecordCount(), 0);
}

// A data file of another scanner in the folder: "Use Existing Data" is the default answer, the
// job matches that file, and the erase at the end refuses the attached scanner.
TEST(JobEndToEnd, ForeignDataFileWithDefaultAnswersNeverErases) {
    JobRoad road;
    addShootPhotos(road);
    std::string foreign = kDataFile;
    foreign.replace(foreign.find("SN=10700001"), 11, "SN=10700002");
    road.writeFolderFile("BarcodeDataSource.txt", foreign);
    ASSERT_TRUE(road.startScanner(kScans));
    ASSERT_TRUE(road.startHost(HostRun{}));
    ASSERT_EQ(road.waitForHostExit(90), eHost_EraseFailed) << failureNote(road);

    EXPECT_EQ(road.events(), (Events{"ok01", "err2", "qend"}));
    EXPECT_FALSE(road.scannerWasSent(kEraseCommand));
    EXPECT_EQ(road.scannerRecordCount(), 3);
    EXPECT_NE(road.programMessages().find("came from scanner 10700002"), std::string::npos)
        << failureNote(road);
}

// The matched list cannot be written (here its temporary file's name is taken by a folder, which
// fails as root too): the match fails with 'err1', nothing is erased, and an older matched list
// of another job does not stay to pass as this job's result.
TEST(JobEndToEnd, MatchedListThatCannotBeWrittenFailsTheMatchWithoutErasing) {
    JobRoad road;
    addShootPhotos(road);
    road.writeFolderFile("BarcodeMatchedList.txt", "IMG_0001.jpg\tOLD9\t\t\r");
    ASSERT_EQ(system(("mkdir '" + road.folder() + "BarcodeMatchedList.txt.part'").c_str()), 0);
    ASSERT_TRUE(road.startScanner(kScans));
    ASSERT_TRUE(road.startHost(HostRun{}));
    ASSERT_EQ(road.waitForHostExit(90), 1) << failureNote(road);

    EXPECT_EQ(road.events(), (Events{"err1", "qend"}));
    EXPECT_FALSE(road.folderHas("BarcodeMatchedList.txt"));
    EXPECT_FALSE(road.scannerWasSent(kEraseCommand));
    EXPECT_EQ(road.scannerRecordCount(), 3);
}
