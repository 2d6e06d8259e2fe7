// The review window as the photographer uses it, over real JPEG files with EXIF: leaving it by
// Escape, the close button and every button with and without moves (what asks, what keeps the
// work), Alt+Up/Down on several selected photos with undo and redo by key, the caption after a
// move, the preview of a photo whose list name had to be escaped, photos that arrive from the
// loader's workers rather than being decoded on the user-interface thread, the summary line and
// the warning when the clocks are uncertain.
#include "ClockPanel.h"
#include "ListName.h"
#include "PhotoLoader.h"
#include "PhotoPreview.h"
#include "ReviewFixtures.h"
#include "ReviewModel.h"
#include "ReviewPrompt.h"
#include "ReviewSession.h"
#include "ReviewTreeView.h"
#include "ReviewWindow.h"
#include "ShootMatch.h"
#include "ShootPhotos.h"
#include "ShootSimulator.h"
#include "ThumbnailStrip.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstdlib>
#include <mutex>

namespace {

const double kFirstScan = 1780997400.0; // 09:30:00 on the scanner's clock, as the lists give it
const double kCameraAhead = 13 * 60;

// Answers the next message box that opens: records its object name and presses the button of the
// given role (RejectRole: Keep Reviewing; AcceptRole: Save Matches; DestructiveRole: discard).
class BoxAnswer : public QObject {
  public:
    explicit BoxAnswer(QMessageBox::ButtonRole role) : fRole(role) {
        connect(&fTimer, &QTimer::timeout, this, [this] { answer(); });
        fTimer.start(10);
    }
    QStringList asked;

  private:
    void answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        asked << box->objectName();
        for (QAbstractButton* button : box->buttons())
            if (box->buttonRole(button) == fRole) {
                button->click();
                return;
            }
        box->reject();
    }
    QMessageBox::ButtonRole fRole;
    QTimer fTimer;
};

// A shoot of real JPEG files: A (a1 a2 a3, a3 after a long pause), B without photos, C (c1) and
// D with twelve photos; each photo written with its EXIF time, thumbnail and subject's look.
struct Shoot {
    Shoot() {
        const double scans[] = {kFirstScan, kFirstScan + 60, kFirstScan + 100, kFirstScan + 150};
        const char* names[] = {"A", "B", "C", "D"};
        tree = std::make_unique<BarcodeList>();
        for (int k = 0; k < 4; ++k) {
            auto node = Barcode::barcodeWithValue(names[k]);
            node->setScanIndex(size_t(k));
            node->setScanTime(scans[k]);
            tree->push_back(std::move(node));
        }
        auto add = [&](int barcode, const std::string& file, double after, uint32_t doubts) {
            const double taken = scans[barcode] + after + kCameraAhead;
            ShootPhotos::writePhoto(folder.path().toStdString() + "/" + file,
                                    ShootPhotos::lookOf(names[barcode]), (long long)taken);
            auto leaf = BarcodeImage::barcodeImageWithValue(makeListName(file).text);
            leaf->setCaptureTime(taken);
            leaf->setAlignedTime(scans[barcode] + after);
            leaf->setDoubts(doubts);
            (*tree)[size_t(barcode)]->addObject(std::move(leaf));
        };
        add(0, "a1.jpg", 8, ePhotoDoubt_None);
        add(0, "a2.jpg", 20, ePhotoDoubt_None);
        add(0, "a3.jpg", 95, ePhotoDoubt_AfterLongPause);
        // A name the photo list had to escape.
        add(2, "\xC5\x81ucja.jpg", 10, ePhotoDoubt_None);
        for (int k = 0; k < 12; ++k)
            add(3, "d" + std::to_string(k) + ".jpg", 5 + k, ePhotoDoubt_None);
    }
    QTemporaryDir folder;
    std::unique_ptr<BarcodeList> tree;
};

// The window open over the shoot, active so that its keys reach it.
struct OpenReview {
    OpenReview() : session(std::move(shoot.tree), nullptr, shoot.folder.path().toStdString() + "/") {
        window.resize(1000, 640);
        window.setSession(&session);
        window.open();
        window.activateWindow();
        window.setResult(-1);
    }
    ~OpenReview() { window.photoLoader()->waitForIdle(); }
    ReviewModel& model() { return *window.model(); }
    ReviewTreeView& view() { return *window.imageSortView(); }
    QString tree() const { return QString::fromStdString(describeTree(session.tree())); }
    BarcodeImage* photo(const std::string& name) {
        for (const auto& node : *session.tree())
            for (const auto& image : node->images())
                if (image->imageName() == name)
                    return image.get();
        return nullptr;
    }
    void select(std::initializer_list<const char*> names) {
        QItemSelectionModel* selection = view().selectionModel();
        selection->clear();
        bool first = true;
        for (const char* name : names) {
            const QModelIndex index = model().indexOfImage(photo(name));
            if (first)
                selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
            selection->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
            first = false;
        }
    }
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&view(), Qt::Key(key), modifiers);
    }
    Shoot shoot;
    ReviewSession session;
    ReviewWindow window;
};

} // namespace

class TestReviewWindow : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { setenv("LANGUAGE", "en", 1); }

    // Each way out, with and without a move, and each answer to its question.
    void leaving_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("moved");
        QTest::addColumn<int>("answer"); // the button role pressed in the question
        QTest::addColumn<QString>("asked");
        QTest::addColumn<int>("code"); // -1: the review stays open
        const int keep = QMessageBox::RejectRole, save = QMessageBox::AcceptRole,
                  go = QMessageBox::DestructiveRole;
        QTest::newRow("Escape, nothing moved: automatic matches") << "escape" << false << keep << "" << 0;
        QTest::newRow("Escape after a move, keep reviewing")
            << "escape" << true << keep << "confirmLeave" << -1;
        QTest::newRow("Escape after a move, save") << "escape" << true << save << "confirmLeave" << 1;
        QTest::newRow("Escape after a move, discard") << "escape" << true << go << "confirmLeave" << 0;
        QTest::newRow("close, nothing moved") << "close" << false << keep << "" << 0;
        QTest::newRow("close after a move, keep reviewing")
            << "close" << true << keep << "confirmLeave" << -1;
        QTest::newRow("close after a move, save") << "close" << true << save << "confirmLeave" << 1;
        QTest::newRow("close after a move, discard") << "close" << true << go << "confirmLeave" << 0;
        QTest::newRow("Use automatic matches, nothing moved") << "ibCancelHit" << false << keep << "" << 0;
        QTest::newRow("Use automatic matches after a move, keep")
            << "ibCancelHit" << true << keep << "confirmCancel" << -1;
        QTest::newRow("Use automatic matches after a move, confirmed")
            << "ibCancelHit" << true << go << "confirmCancel" << 0;
        QTest::newRow("Revert, nothing moved") << "ibRevertHit" << false << keep << "" << 2;
        QTest::newRow("Revert after a move, keep") << "ibRevertHit" << true << keep << "confirmRevert" << -1;
        QTest::newRow("Revert after a move, confirmed")
            << "ibRevertHit" << true << go << "confirmRevert" << 2;
        QTest::newRow("Return, nothing moved") << "ibReturnToVeskx" << false << keep << "" << 3;
        QTest::newRow("Return after a move, keep")
            << "ibReturnToVeskx" << true << keep << "confirmReturn" << -1;
        QTest::newRow("Return after a move, confirmed")
            << "ibReturnToVeskx" << true << go << "confirmReturn" << 3;
    }
    void leaving() {
        QFETCH(QString, how);
        QFETCH(bool, moved);
        QFETCH(int, answer);
        QFETCH(QString, asked);
        QFETCH(int, code);
        OpenReview review;
        if (moved) {
            review.select({"a3.jpg"});
            QVERIFY(review.window.moveSelectionBy(1));
        }
        const QString treeBefore = review.tree();
        BoxAnswer answering{QMessageBox::ButtonRole(answer)};
        if (how == "escape")
            review.key(Qt::Key_Escape);
        else if (how == "close")
            review.window.close();
        else
            review.window.findChild<QPushButton*>(how)->click();
        QCOMPARE(answering.asked, asked.isEmpty() ? QStringList() : QStringList{asked});
        QCOMPARE(review.window.result(), code);
        QCOMPARE(review.window.isVisible(), code == -1);
        // Staying keeps every move as it was; leaving hands the tree as shown to the task, which
        // saves it for OK and matches again or keeps the automatic match for the other codes.
        QCOMPARE(review.tree(), treeBefore);
        QCOMPARE(review.session.movedPhotos(), size_t(moved ? 1 : 0));
    }

    // Alt+Down and Alt+Up move every selected photo, each to the end of its new barcode; the
    // title counts them; Ctrl+Z and Ctrl+Shift+Z step back and forth through the moves.
    void altKeysMoveSeveralPhotosAndUndo() {
        OpenReview review;
        QVERIFY(QTest::qWaitForWindowActive(&review.window));
        const QString start = review.tree();
        review.select({"a2.jpg", "a3.jpg"});
        review.key(Qt::Key_Down, Qt::AltModifier);
        const QString once = review.tree();
        QCOMPARE(once.left(28), QStringLiteral("A: a1.jpg | B: a2.jpg a3.jpg"));
        QVERIFY(review.window.windowTitle().contains("2 photo"));
        // The moved photos stay selected, so the next key takes them further.
        review.key(Qt::Key_Down, Qt::AltModifier);
        const QString twice = review.tree();
        QVERIFY2(twice.startsWith("A: a1.jpg | B: | C: %C5%81ucja.jpg a2.jpg a3.jpg"), qPrintable(twice));
        review.select({"a1.jpg", "d0.jpg"});
        review.key(Qt::Key_Up, Qt::AltModifier);
        // a1 has no barcode before A: it stays; d0 goes up to C as its last photo.
        const QString third = review.tree();
        QVERIFY2(third.startsWith("A: a1.jpg | B: | C: %C5%81ucja.jpg a2.jpg a3.jpg d0.jpg | D: d1.jpg"),
                 qPrintable(third));
        QCOMPARE(review.session.movedPhotos(), size_t(3));
        review.key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(review.tree(), twice);
        review.key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(review.tree(), once);
        review.key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(review.tree(), start);
        QCOMPARE(review.window.windowTitle(), QStringLiteral("Review the matches"));
        review.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        review.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(review.tree(), twice);
    }

    // The caption under the preview names the photo's barcode after a move, and says who moved it.
    void captionFollowsAMove() {
        OpenReview review;
        QVERIFY(QTest::qWaitForWindowActive(&review.window));
        review.select({"a3.jpg"});
        QVERIFY(review.window.caption()->text().contains("a3.jpg under barcode A"));
        QVERIFY(review.window.caption()->text().contains("long pause"));
        review.key(Qt::Key_Down, Qt::AltModifier);
        const QString caption = review.window.caption()->text();
        QVERIFY2(caption.contains("a3.jpg under barcode B"), qPrintable(caption));
        QVERIFY2(caption.contains("moved by you from A"), qPrintable(caption));
        review.key(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(review.window.caption()->text().contains("a3.jpg under barcode A"));
    }

    // The preview and the strip of a photo arrive from the loader's workers: right after the
    // selection nothing is decoded yet (the pane says so), then the image comes, at the pane's
    // size, and so do the strip's thumbnails. The photo's name in the list is escaped
    // (%C5%81ucja.jpg); its file is found all the same.
    void photosArriveFromTheWorkersEscapedNameToo() {
        QStringList decodedOnTheWindowThread;
        std::mutex lock;
        setPhotoDecodeObserver([&](const QString& path) {
            std::lock_guard<std::mutex> hold(lock);
            if (QThread::currentThread() == QCoreApplication::instance()->thread())
                decodedOnTheWindowThread << path;
        });
        OpenReview review;
        QSignalSpy arrived(&review.window, &ReviewWindow::selectedImageChanged);
        const QString listed = QStringLiteral("%C5%81ucja.jpg");
        QVERIFY(review.photo(listed.toStdString()));
        QVERIFY(review.window.pathOfImage(*review.photo(listed.toStdString()))
                    .endsWith(QString::fromUtf8("/Łucja.jpg")));
        review.select({"%C5%81ucja.jpg"});
        QVERIFY(review.window.selectedImage().isNull());
        QCOMPARE(review.window.findChild<QLabel*>("preview")->text(), QStringLiteral("Loading..."));
        QCOMPARE(review.window.thumbnailStrip()->thumbnailsShown(), 0);
        QVERIFY(arrived.wait(5000));
        QVERIFY(!review.window.selectedImage().isNull());
        QVERIFY(review.window.selectedImage().width() <= 1000);
        // The strip: the last photo of A, the photo itself and the first of D.
        review.window.photoLoader()->waitForIdle();
        QApplication::processEvents();
        ThumbnailStrip* strip = review.window.thumbnailStrip();
        QCOMPARE(strip->entries().size(), 3);
        QCOMPARE(strip->thumbnailsShown(), 3);
        QCOMPARE(strip->entries().at(0).image, review.photo("a3.jpg"));
        QCOMPARE(strip->entries().at(2).image, review.photo("d0.jpg"));
        review.window.photoLoader()->waitForIdle();
        setPhotoDecodeObserver(nullptr);
        QCOMPARE(decodedOnTheWindowThread, QStringList());
    }

    // A photo file that is not a picture says so in the pane; the review goes on.
    void brokenPhotoSaysItCannotBeShown() {
        OpenReview review;
        QFile broken(review.shoot.folder.filePath("a1.jpg"));
        QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        broken.write("not a photo");
        broken.close();
        QSignalSpy arrived(review.window.photoLoader(), &PhotoLoader::imageReady);
        review.select({"a1.jpg"});
        QTRY_COMPARE_WITH_TIMEOUT(review.window.findChild<QLabel*>("preview")->text(),
                                  QStringLiteral("This photo cannot be shown"), 5000);
        QVERIFY(review.window.selectedImage().isNull());
    }

    // The summary line counts what the tree holds now: B without photos, D far above the usual
    // three, a3 doubtful until it is moved.
    void summaryLine() {
        OpenReview review;
        QCOMPARE(review.window.summaryLine()->text(),
                 QStringLiteral("16 photo(s), 4 barcode(s); 1 doubtful; 1 barcode(s) without photos; "
                                "1 barcode(s) with far more photos than usual"));
        review.select({"a3.jpg"});
        QVERIFY(review.window.moveSelectionBy(1));
        QCOMPARE(review.window.summaryLine()->text(),
                 QStringLiteral("16 photo(s), 4 barcode(s); no doubtful photo; "
                                "1 barcode(s) with far more photos than usual"));
    }

    // F3 goes to the doubtful photo; the find field to a barcode, on Enter too.
    void doubtfulPhotoAndFind() {
        OpenReview review;
        QVERIFY(QTest::qWaitForWindowActive(&review.window));
        review.select({"a1.jpg"});
        review.key(Qt::Key_F3);
        QCOMPARE(review.window.currentImage(), review.photo("a3.jpg"));
        review.window.findField()->setText(QStringLiteral("d"));
        QTest::keyClick(review.window.findField(), Qt::Key_Return);
        QCOMPARE(review.model().barcodeAt(review.view().currentIndex()), review.model().barcodeAtRow(3));
        // Enter in the find field finds; it does not press OK.
        QVERIFY(review.window.isVisible());
        QCOMPARE(review.window.result(), -1);
    }

    // "This photo is this subject" on a generated school line: the shoot is matched again so that
    // the photo sits under the barcode chosen, the title says so, Ctrl+Z puts the automatic match
    // back; with a move made, the question comes first and Keep Reviewing changes nothing. The
    // clock shift matches again too, once the value rests.
    void aligningOnAPhotoAndShiftingTheClock() {
        QTemporaryDir folder;
        const std::string root = folder.path().toStdString() + "/";
        QVERIFY(ShootSimulator::generate(eShootFamily::SchoolLine, 2).write(root, false));
        std::unique_ptr<ShootMatch> match =
            ShootMatch::read(root + "BarcodeDataSource.txt", root + "BarcodeImageList.txt");
        QVERIFY(match && match->matchWithPreferences());
        ReviewSession session(match->takeTree(), match.get(), root);
        ReviewWindow window;
        window.setSession(&session);
        window.open();
        const auto under = [&](const std::string& name) -> std::string {
            for (const auto& node : *session.tree())
                for (const auto& image : node->images())
                    if (image->imageName() == name)
                        return node->barcode();
            return std::string();
        };
        const auto photoNamed = [&](const std::string& name) -> BarcodeImage* {
            for (const auto& node : *session.tree())
                for (const auto& image : node->images())
                    if (image->imageName() == name)
                        return image.get();
            return nullptr;
        };
        Barcode* own = (*session.tree())[10].get();
        QVERIFY(own->numberOfChildren() > 0);
        const std::string name = own->objectAtIndex(0)->imageName();
        const std::string later = (*session.tree())[12]->barcode();
        const std::string automatic = describeTree(session.tree());

        // With a move made: asked, kept reviewing, nothing changes.
        QVERIFY(window.model()->moveImage(photoNamed(name), (*session.tree())[11].get()));
        {
            BoxAnswer keep(QMessageBox::RejectRole);
            QVERIFY(!window.alignOn(photoNamed(name), (*session.tree())[12].get()));
            QCOMPARE(keep.asked, QStringList{"confirmRematch"});
        }
        QCOMPARE(under(name), (*session.tree())[11]->barcode());
        window.model()->undoStack()->undo();
        QCOMPARE(describeTree(session.tree()), automatic);

        QVERIFY(window.alignOn(photoNamed(name), (*session.tree())[12].get()));
        QCOMPARE(under(name), later);
        QVERIFY(session.isRematched());
        QVERIFY(window.windowTitle().contains("matched again"));
        QCOMPARE(window.currentImage(), photoNamed(name));
        window.model()->undoStack()->undo();
        QCOMPARE(describeTree(session.tree()), automatic);
        QVERIFY(!session.isRematched());

        // A shift of the camera clock by a whole subject's time moves the photos too.
        window.clockPanel()->offsetControl()->setValue(-600);
        QTRY_VERIFY(session.isRematched());
        QVERIFY(describeTree(session.tree()) != automatic);
        window.model()->undoStack()->undo();
        QCOMPARE(describeTree(session.tree()), automatic);
        QCOMPARE(window.clockPanel()->offsetSeconds(), 0);
    }

    // Uncertain clocks: the band above the list says so in words, with how many scans fit.
    void uncertainClocksAreSaid() {
        ClockPanel panel;
        ClockEstimate estimate;
        estimate.alignment.bodies.resize(1);
        estimate.alignment.bodies.front().offset = -783;
        estimate.scansFitting = 41;
        estimate.scansTotal = 80;
        estimate.uncertain = true;
        estimate.uncertaintyReason = eUncertainty_FewFit;
        panel.showEstimate(&estimate, true);
        QVERIFY(panel.isUncertain());
        const QString text = panel.textLabel()->text();
        QVERIFY2(text.contains("could not be lined up with confidence: 41 of 80 scan(s) fit"),
                 qPrintable(text));
        QVERIFY(panel.offsetControl()->isEnabled());
        estimate.uncertain = false;
        panel.showEstimate(&estimate, true);
        QVERIFY(!panel.isUncertain());
        QVERIFY(!panel.textLabel()->text().contains("confidence"));
    }
};

QTEST_MAIN(TestReviewWindow)
#include "test_review_window.moc"
