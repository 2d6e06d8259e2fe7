// The match task: the data file search, the match, the review codes and the matched list file.
#include "MatchTask.h"
#include "MessageLog.h"
#include "Preferences.h"
#include "QtAlertPrompt.h"
#include "QtPreferenceStore.h"
#include "QtReviewPrompt.h"
#include "ReviewFixtures.h"
#include "ReviewModel.h"
#include "ReviewPrompt.h"
#include "ReviewWindow.h"

#include "MessageBoxAnswerer.h"
#include "QtFileContent.h"
#include "RecordingMessageSink.h"
#include "RecordingStatusDisplay.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <thread>

namespace {

// How the task ends, as the table columns hold it.
const int kMatched = eMatchOutcome_Matched;
const int kAborted = eMatchOutcome_UserAborted;
const int kFailed = eMatchOutcome_Failed;

const QByteArray kScans = "CPU=PDX-PRO\tZ-1070\n"
                          "Scanned BarCode ID\tDate\tTime\n"
                          "A\t050126\t100000\n"
                          "B\t050126\t100500\n"
                          "C\t050126\t101000\n";
const QByteArray kOtherScans = "CPU=PDX-PRO\tZ-1070\n"
                               "Scanned BarCode ID\tDate\tTime\n"
                               "X\t050126\t100000\n"
                               "Y\t050126\t101000\n";
// Photos 10 s after each scan, on a camera clock 7 minutes ahead.
const QByteArray kPhotos = "VeskBarcode photo list\n"
                           "OriginalName\tCreationDate\n"
                           "p1.jpg\t050126\t100710\n"
                           "p2.jpg\t050126\t101210\n"
                           "p3.jpg\t050126\t101710\n";
const QByteArray kNoPhotos = "VeskBarcode photo list\nOriginalName\tCreationDate\n";

const QByteArray kAutomatic = "p1.jpg\tA\t\tB\rp2.jpg\tB\tA\tC\rp3.jpg\tC\tB\t\r";
const QByteArray kOtherAutomatic = "p1.jpg\tX\t\tY\rp2.jpg\tX\t\tY\rp3.jpg\tY\tX\t\r";
// p1 moved from A to C.
const QByteArray kEdited = "p2.jpg\tB\tA\tC\rp3.jpg\tC\tB\t\rp1.jpg\tC\tB\t\r";

// Moves the first photo of the first barcode to the last barcode, the way a drop does.
void dragFirstPhotoToLastBarcode(ReviewSession& session) {
    ReviewModel model;
    model.setSession(&session);
    std::unique_ptr<QMimeData> data(model.mimeData({model.index(0, 0, model.index(0, 0))}));
    QVERIFY(model.dropMimeData(data.get(), Qt::MoveAction, -1, -1, model.index(model.rowCount() - 1, 0)));
}

// The photographer's answers, one per review: an optional edit, then a code.
class ScriptedReview : public ReviewPrompt {
  public:
    struct Step {
        std::function<void(ReviewSession&)> edit;
        int code;
    };
    explicit ScriptedReview(std::vector<Step> steps) : fSteps(std::move(steps)) {}
    void growReviewWindow() override { ++grown; }
    int runReview(ReviewSession& session) override {
        seen << QString::fromStdString(describeTree(session.tree()));
        if (fSteps.empty())
            return eReviewCode_Cancel;
        Step step = fSteps.front();
        fSteps.erase(fSteps.begin());
        if (step.edit)
            step.edit(session);
        return step.code;
    }
    int grown = 0;
    QStringList seen;

  private:
    std::vector<Step> fSteps;
};

} // namespace

class TestMatchTask : public QObject {
    Q_OBJECT
    QTemporaryDir fConfigHome;
    std::unique_ptr<QtPreferenceStore> fStore;
    std::unique_ptr<QTemporaryDir> fFolder;
    testsupport::RecordingMessageSink fMessages;

    std::string folderPath() const { return fFolder->path().toStdString() + "/"; }
    QString file(const char* name) const { return fFolder->filePath(QString::fromLatin1(name)); }

  private slots:
    void initTestCase() {
        setenv("XDG_CONFIG_HOME", fConfigHome.path().toUtf8().constData(), 1);
        setenv("LANGUAGE", "en", 1);
        installQtAlertPrompt();
    }
    void init() {
        unsetenv("VESK_UNATTENDED");
        unsetenv("VESK_ANSWERS");
        QFile::remove(QtPreferenceStore::defaultFilePath());
        fStore = std::make_unique<QtPreferenceStore>();
        setPreferenceStore(fStore.get());
        GeneralPreferencesController::setupDefaults();
        fFolder = std::make_unique<QTemporaryDir>();
    }
    void cleanup() {
        setPreferenceStore(nullptr);
        fStore.reset();
        fFolder.reset();
    }

    void dataFileSearchOrder_data() {
        QTest::addColumn<QStringList>("files"); // of the working folder
        QTest::addColumn<QString>("defaultName");
        QTest::addColumn<bool>("prompt");
        QTest::addColumn<QString>("chooserAnswer"); // "other": a file in another folder
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QByteArray>("matchedList"); // empty: no file written
        QTest::addColumn<QString>("missingPath");
        QTest::newRow("fixed name first") << QStringList{"BarcodeDataSource.txt", "Other.txt"} << "Other.txt"
                                          << true << "other" << kMatched << kAutomatic << "";
        QTest::newRow("default name")
            << QStringList{"Other.txt"} << "Other.txt" << true << "" << kMatched << kOtherAutomatic << "";
        QTest::newRow("chooser, file in another folder")
            << QStringList{} << "Other.txt" << true << "other" << kMatched << kOtherAutomatic << "";
        QTest::newRow("chooser cancelled")
            << QStringList{} << "Other.txt" << true << "" << kFailed << QByteArray() << "Other.txt";
        QTest::newRow("none, no prompt")
            << QStringList{} << "Other.txt" << false << "other" << kFailed << QByteArray() << "Other.txt";
        QTest::newRow("empty default name is no name")
            << QStringList{} << "" << false << "" << kFailed << QByteArray() << "BarcodeDataSource.txt";
    }
    void dataFileSearchOrder() {
        QFETCH(QStringList, files);
        QFETCH(QString, defaultName);
        QFETCH(bool, prompt);
        QFETCH(QString, chooserAnswer);
        QFETCH(int, outcome);
        QFETCH(QByteArray, matchedList);
        QFETCH(QString, missingPath);
        QVERIFY(writeFile(file("BarcodeImageList.txt"), kPhotos));
        for (const QString& name : files)
            QVERIFY(writeFile(fFolder->filePath(name), name == "Other.txt" ? kOtherScans : kScans));
        QTemporaryDir elsewhere;
        QString chosen = elsewhere.filePath("Scans from the laptop.txt");
        QVERIFY(writeFile(chosen, kOtherScans));
        fStore->setValue(sPrefs_defaultBarcodeDataFileName, defaultName.toStdString());
        fStore->setValue(sPrefs_doPromptForMissingBarcodeDataFile, prompt ? "1" : "0");
        fStore->setValue(sPrefs_doAllowUserToModifyData, "false");
        setenv("VESK_UNATTENDED", "1", 1);
        setenv("VESK_ANSWERS",
               ("openpanel=" + (chooserAnswer == "other" ? chosen : QString())).toUtf8().constData(), 1);

        std::string before = fMessages.text();
        QCOMPARE(int(matchBarcodeDataWithPhotos(folderPath(), nullptr, nullptr, nullptr)), outcome);
        QCOMPARE(QFile::exists(file("BarcodeMatchedList.txt")), !matchedList.isEmpty());
        if (!matchedList.isEmpty())
            QCOMPARE(readFile(file("BarcodeMatchedList.txt")), matchedList);
        if (missingPath.isEmpty())
            return;
        std::string messages = fMessages.text().substr(before.size());
        QVERIFY(messages.find("Missing the source barcode file:\n" + folderPath() +
                              missingPath.toStdString()) != std::string::npos);
    }

    void reviewCodes_data() {
        using Steps = std::vector<ScriptedReview::Step>;
        QTest::addColumn<bool>("reviewAllowed");
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QByteArray>("matchedList");
        QTest::addColumn<int>("reviews");
        QString automatic = "A: p1.jpg | B: p2.jpg | C: p3.jpg";
        QTest::newRow("review not allowed") << false << Steps{} << kMatched << kAutomatic << 0;
        QTest::newRow("OK after an edit rewrites the file")
            << true << Steps{{dragFirstPhotoToLastBarcode, eReviewCode_OK}} << kMatched << kEdited << 1;
        QTest::newRow("Cancel after an edit keeps the automatic match")
            << true << Steps{{dragFirstPhotoToLastBarcode, eReviewCode_Cancel}} << kMatched << kAutomatic
            << 1;
        QTest::newRow("Revert then OK gives a fresh match")
            << true << Steps{{dragFirstPhotoToLastBarcode, eReviewCode_Revert}, {nullptr, eReviewCode_OK}}
            << kMatched << kAutomatic << 2;
        QTest::newRow("an unknown code reverts")
            << true << Steps{{dragFirstPhotoToLastBarcode, 7}, {nullptr, eReviewCode_Cancel}} << kMatched
            << kAutomatic << 2;
        QTest::newRow("return to the host cancels the job")
            << true << Steps{{dragFirstPhotoToLastBarcode, eReviewCode_ReturnToHost}} << kAborted
            << kAutomatic << 1;
    }
    void reviewCodes() {
        using Steps = std::vector<ScriptedReview::Step>;
        QFETCH(bool, reviewAllowed);
        QFETCH(Steps, steps);
        QFETCH(int, outcome);
        QFETCH(QByteArray, matchedList);
        QFETCH(int, reviews);
        QVERIFY(writeFile(file("BarcodeDataSource.txt"), kScans));
        QVERIFY(writeFile(file("BarcodeImageList.txt"), kPhotos));
        fStore->setValue(sPrefs_doAllowUserToModifyData, reviewAllowed ? "true" : "false");
        ScriptedReview review(steps);
        testsupport::RecordingStatusDisplay status;
        std::unique_ptr<BarcodeList> barcodeList;
        QCOMPARE(int(matchBarcodeDataWithPhotos(folderPath(), &status, &review, &barcodeList)), outcome);
        QCOMPARE(readFile(file("BarcodeMatchedList.txt")), matchedList);
        QCOMPARE(review.seen.size(), reviews);
        QCOMPARE(review.grown, reviews > 0 ? 1 : 0);
        for (const QString& tree : review.seen)
            QCOMPARE(tree, QStringLiteral("A: p1.jpg | B: p2.jpg | C: p3.jpg"));
        // The application keeps the last tree shown.
        QVERIFY(barcodeList);
        QStringList texts;
        for (const std::string& text : status.texts())
            texts << QString::fromStdString(text);
        QCOMPARE(texts.mid(0, 3),
                 (QStringList{"Looking for the barcode data file...", "Checking the photo list...",
                              "Matching photos to barcodes..."}));
        QCOMPARE(texts.last(), QString());
        QVERIFY(!status.busy());
    }

    void failedMatch_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("outcome");
        QTest::newRow("OK on the empty review") << int(eReviewCode_OK) << kFailed;
        QTest::newRow("return to the host") << int(eReviewCode_ReturnToHost) << kAborted;
    }
    void failedMatch() {
        QFETCH(int, code);
        QFETCH(int, outcome);
        QVERIFY(writeFile(file("BarcodeDataSource.txt"), kScans));
        QVERIFY(writeFile(file("BarcodeImageList.txt"), kNoPhotos));
        QVERIFY(writeFile(file("BarcodeMatchedList.txt"), "an older result\r"));
        ScriptedReview review({{nullptr, code}});
        QCOMPARE(int(matchBarcodeDataWithPhotos(folderPath(), nullptr, &review, nullptr)), outcome);
        QCOMPARE(review.seen, QStringList{"(none)"});
        QVERIFY(QFile::exists(file("BarcodeMatchedList.txt")));
        QCOMPARE(readFile(file("BarcodeMatchedList.txt")), QByteArray());
    }

    // The files change during the review so that the rematch of a revert fails: the job must not
    // report the now empty result as a match.
    void revertWhoseRematchFailsIsAFailedMatch() {
        QVERIFY(writeFile(file("BarcodeDataSource.txt"), kScans));
        QVERIFY(writeFile(file("BarcodeImageList.txt"), kPhotos));
        auto truncatePhotoList = [this](ReviewSession&) {
            QVERIFY(writeFile(file("BarcodeImageList.txt"), kNoPhotos));
        };
        ScriptedReview review({{truncatePhotoList, eReviewCode_Revert}, {nullptr, eReviewCode_OK}});
        QCOMPARE(int(matchBarcodeDataWithPhotos(folderPath(), nullptr, &review, nullptr)), kFailed);
        QCOMPARE(review.seen.last(), QStringLiteral("(none)"));
        QCOMPARE(readFile(file("BarcodeMatchedList.txt")), QByteArray());
    }

    void missingPhotoListWritesNothing() {
        QVERIFY(writeFile(file("BarcodeDataSource.txt"), kScans));
        ScriptedReview review({});
        std::string before = fMessages.text();
        QCOMPARE(int(matchBarcodeDataWithPhotos(folderPath(), nullptr, &review, nullptr)), kFailed);
        QVERIFY(!QFile::exists(file("BarcodeMatchedList.txt")));
        QVERIFY(review.seen.isEmpty());
        QVERIFY(fMessages.text()
                    .substr(before.size())
                    .find("Missing the Photo List file:\n" + folderPath() + "BarcodeImageList.txt") !=
                std::string::npos);
    }

    void runsWithoutAJob() {
        QVERIFY(writeFile(file("BarcodeDataSource.txt"), kScans));
        QVERIFY(writeFile(file("BarcodeImageList.txt"), kPhotos));
        ScriptedReview review({{nullptr, eReviewCode_Cancel}});
        QCOMPARE(int(matchBarcodeDataWithPhotos(folderPath(), nullptr, &review, nullptr)), kMatched);
        QCOMPARE(readFile(file("BarcodeMatchedList.txt")), kAutomatic);
    }

    void unattendedReviewAnswer_data() {
        QTest::addColumn<QString>("answers");
        QTest::addColumn<int>("outcome");
        QTest::newRow("review=3") << "review=3" << kAborted;
        QTest::newRow("review=1") << "review=1" << kMatched;
        QTest::newRow("no answer cancels the review") << "" << kMatched;
    }
    void unattendedReviewAnswer() {
        QFETCH(QString, answers);
        QFETCH(int, outcome);
        QVERIFY(writeFile(file("BarcodeDataSource.txt"), kScans));
        QVERIFY(writeFile(file("BarcodeImageList.txt"), kPhotos));
        setenv("VESK_UNATTENDED", "1", 1);
        setenv("VESK_ANSWERS", answers.toUtf8().constData(), 1);
        QtReviewPrompt review(nullptr);
        QCOMPARE(int(matchBarcodeDataWithPhotos(folderPath(), nullptr, &review, nullptr)), outcome);
        QCOMPARE(readFile(file("BarcodeMatchedList.txt")), kAutomatic);
    }

    // The whole path a photographer takes: the task on a worker, the review window on the
    // user-interface thread, a photo moved, OK confirmed in alert 9005.
    void reviewWindowFromAWorker() {
        QVERIFY(writeFile(file("BarcodeDataSource.txt"), kScans));
        QVERIFY(writeFile(file("BarcodeImageList.txt"), kPhotos));
        QMainWindow mainWindow;
        mainWindow.resize(800, 600);
        mainWindow.show();
        QtReviewPrompt review(&mainWindow);
        std::unique_ptr<BarcodeList> barcodeList;
        std::atomic<int> outcome{-1};
        std::atomic<bool> done{false};
        std::thread worker([&] {
            outcome = matchBarcodeDataWithPhotos(folderPath(), nullptr, &review, &barcodeList);
            done = true;
        });
        // The review runs in a modal loop inside this thread's event handling, so the user's
        // actions come from a timer, as events do.
        MessageBoxAnswerer answerer(QStringLiteral("Save Matches"));
        QWidget* parentSeen = nullptr;
        Qt::WindowModality modalitySeen = Qt::NonModal;
        int widthSeen = 0;
        bool acted = false;
        QTimer user;
        connect(&user, &QTimer::timeout, this, [&] {
            ReviewWindow* window = review.reviewWindow();
            if (acted || !window->isVisible())
                return;
            acted = true;
            parentSeen = window->parentWidget();
            modalitySeen = window->windowModality();
            widthSeen = window->width();
            ReviewModel* model = window->model();
            std::unique_ptr<QMimeData> data(model->mimeData({model->index(0, 0, model->index(0, 0))}));
            QVERIFY(model->dropMimeData(data.get(), Qt::MoveAction, -1, -1,
                                        model->index(model->rowCount() - 1, 0)));
            window->findChild<QPushButton*>(QStringLiteral("ibOKHit"))->click();
        });
        user.start(20);
        QTRY_VERIFY_WITH_TIMEOUT(done.load(), 10000);
        worker.join();
        QCOMPARE(parentSeen, &mainWindow);
        QCOMPARE(modalitySeen, Qt::WindowModal);
        QVERIFY(widthSeen >= 470 + 550 || widthSeen == mainWindow.screen()->availableGeometry().width());
        QCOMPARE(answerer.last().objectName, QStringLiteral("alert_NSAlertWindow_9005"));
        QCOMPARE(outcome.load(), kMatched);
        QCOMPARE(readFile(file("BarcodeMatchedList.txt")), kEdited);
        QCOMPARE(QString::fromStdString(describeTree(barcodeList.get())),
                 QStringLiteral("A: | B: p2.jpg | C: p3.jpg p1.jpg"));
    }

    void chooserIsAQtFileDialog() {
        QVERIFY(writeFile(file("BarcodeImageList.txt"), kPhotos));
        QTemporaryDir elsewhere;
        QString chosen = elsewhere.filePath("scans.txt");
        QVERIFY(writeFile(chosen, kOtherScans));
        fStore->setValue(sPrefs_defaultBarcodeDataFileName, "Other.txt");
        fStore->setValue(sPrefs_doAllowUserToModifyData, "false");
        QString title;
        QString accept;
        QString warning;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (!widget->isVisible())
                    continue;
                if (auto* box = qobject_cast<QMessageBox*>(widget)) {
                    warning = box->text();
                    box->defaultButton()->click();
                    return;
                }
                auto* dialog = qobject_cast<QFileDialog*>(widget);
                if (!dialog)
                    continue;
                title = dialog->windowTitle();
                accept = dialog->labelText(QFileDialog::Accept);
                // Typed as a person would; tried again at the next tick should the dialog still
                // be busy reading its folder.
                auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                if (name)
                    name->setText(chosen);
                else
                    dialog->selectFile(chosen);
                QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
                return;
            }
        });
        poll.start(20);
        // The dialog's modal loop runs inside this thread's event handling; never hang the test.
        QTimer::singleShot(8000, this, [] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<QFileDialog*>(widget))
                    dialog->reject();
            }
        });
        std::atomic<int> outcome{-1};
        std::atomic<bool> done{false};
        std::thread worker([&] {
            outcome = matchBarcodeDataWithPhotos(folderPath(), nullptr, nullptr, nullptr);
            done = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(done.load(), 10000);
        worker.join();
        QCOMPARE(warning, QString());
        QCOMPARE(title, QStringLiteral("Please Choose A BarCode DATA File..."));
        QCOMPARE(accept, QStringLiteral("Select"));
        QCOMPARE(readFile(file("BarcodeMatchedList.txt")), kOtherAutomatic);
        QCOMPARE(outcome.load(), kMatched);
    }
};

QTEST_MAIN(TestMatchTask)
#include "test_match_task.moc"
