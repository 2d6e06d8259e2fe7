// The review model over the match tree, its drag and drop, and the review window.
#include "MessageBoxAnswerer.h"
#include "PhotoPreview.h"
#include "QtAlertPrompt.h"
#include "ReviewFixtures.h"
#include "ReviewModel.h"
#include "ReviewPrompt.h"
#include "ReviewWindow.h"

#include <QAbstractItemModelTester>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include <exiv2/exiv2.hpp>

#include <cstdlib>

namespace {

QModelIndex barcodeRow(ReviewModel& model, int row) {
    return model.index(row, 0);
}
QModelIndex photoRow(ReviewModel& model, int barcode, int photo) {
    return model.index(photo, 0, model.index(barcode, 0));
}

bool writeJpeg(const QString& path, QSize size, QColor color) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image.save(path, "JPEG");
}

// A photo file whose embedded preview (the EXIF thumbnail, written with exiv2) differs from the
// main image, named like a camera RAW file.
bool writePhotoWithEmbeddedPreview(const QString& path) {
    if (!writeJpeg(path + ".main.jpg", QSize(800, 600), Qt::red))
        return false;
    QImage thumbnail(160, 120, QImage::Format_RGB32);
    thumbnail.fill(Qt::blue);
    QByteArray thumbnailBytes;
    QBuffer buffer(&thumbnailBytes);
    buffer.open(QIODevice::WriteOnly);
    thumbnail.save(&buffer, "JPEG");
    try {
        auto image = Exiv2::ImageFactory::open((path + ".main.jpg").toStdString());
        image->readMetadata();
        Exiv2::ExifData exif = image->exifData();
        exif["Exif.Photo.DateTimeOriginal"] = "2026:05:01 10:00:00";
        Exiv2::ExifThumb(exif).setJpegThumbnail(
            reinterpret_cast<const Exiv2::byte*>(thumbnailBytes.constData()), long(thumbnailBytes.size()));
        image->setExifData(exif);
        image->writeMetadata();
    } catch (const std::exception&) { // exiv2 0.27's AnyError and 0.28's Error alike
        return false;
    }
    return QFile::rename(path + ".main.jpg", path);
}

} // namespace

class TestReviewModel : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        unsetenv("VESK_UNATTENDED");
        setenv("LANGUAGE", "en", 1);
        installQtAlertPrompt();
    }

    void shapeOfTheTree() {
        auto tree = makeTree({{"A", {"p1.jpg", "p2.jpg"}}, {"B", {}}, {"C", {"sub/p3.jpg"}}});
        ReviewModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setBarcodeList(tree.get());
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.rowCount(barcodeRow(model, 0)), 2);
        QCOMPARE(model.rowCount(barcodeRow(model, 1)), 0);
        QCOMPARE(model.data(barcodeRow(model, 2)).toString(), QStringLiteral("C"));
        QCOMPARE(model.data(photoRow(model, 2, 0)).toString(), QStringLiteral("sub/p3.jpg"));
        QCOMPARE(model.parent(photoRow(model, 0, 1)), barcodeRow(model, 0));
        // Every barcode is expandable, even without photos; a photo is not.
        QVERIFY(model.hasChildren(barcodeRow(model, 1)));
        QVERIFY(!model.hasChildren(photoRow(model, 0, 0)));
        QVERIFY(model.flags(photoRow(model, 0, 0)) & Qt::ItemIsDragEnabled);
        QVERIFY(!(model.flags(barcodeRow(model, 0)) & Qt::ItemIsDragEnabled));
        model.setBarcodeList(nullptr);
        QCOMPARE(model.rowCount(), 0);
    }

    void drops_data() {
        QTest::addColumn<int>("fromBarcode");
        QTest::addColumn<int>("fromPhoto");
        QTest::addColumn<int>("targetBarcode"); // -1: the root
        QTest::addColumn<int>("targetPhoto");   // -1: the barcode row itself
        QTest::addColumn<bool>("allowed");
        QTest::addColumn<QString>("treeAfter");
        QTest::newRow("photo onto another barcode becomes its last")
            << 0 << 0 << 2 << -1 << true << "A: p2 | B: | C: p3 p1";
        QTest::newRow("first photo of an empty barcode")
            << 2 << 0 << 1 << -1 << true << "A: p1 p2 | B: p3 | C:";
        QTest::newRow("on the root") << 0 << 0 << -1 << -1 << false << "A: p1 p2 | B: | C: p3";
        QTest::newRow("on a photo") << 0 << 0 << 2 << 0 << false << "A: p1 p2 | B: | C: p3";
        QTest::newRow("on its own barcode") << 0 << 1 << 0 << -1 << false << "A: p1 p2 | B: | C: p3";
    }
    void drops() {
        QFETCH(int, fromBarcode);
        QFETCH(int, fromPhoto);
        QFETCH(int, targetBarcode);
        QFETCH(int, targetPhoto);
        QFETCH(bool, allowed);
        QFETCH(QString, treeAfter);
        auto tree = makeTree({{"A", {"p1", "p2"}}, {"B", {}}, {"C", {"p3"}}});
        ReviewModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setBarcodeList(tree.get());
        QModelIndex dragged = photoRow(model, fromBarcode, fromPhoto);
        BarcodeImage* leaf = model.imageAt(dragged);
        std::unique_ptr<QMimeData> data(model.mimeData({dragged}));
        QVERIFY(data);
        QCOMPARE(data->text(), QString::fromStdString(leaf->imageName()));
        QModelIndex target;
        if (targetBarcode >= 0)
            target = targetPhoto >= 0 ? photoRow(model, targetBarcode, targetPhoto)
                                      : barcodeRow(model, targetBarcode);
        QCOMPARE(model.canDropMimeData(data.get(), Qt::MoveAction, -1, -1, target), allowed);
        QSignalSpy moved(&model, &ReviewModel::imageMoved);
        QCOMPARE(model.dropMimeData(data.get(), Qt::MoveAction, 0, 0, target), allowed);
        QCOMPARE(QString::fromStdString(describeTree(tree.get())), treeAfter);
        QCOMPARE(moved.count(), allowed ? 1 : 0);
        if (!allowed)
            return;
        QCOMPARE(leaf->parent(), model.barcodeAt(target));
        QModelIndex newIndex = moved.first().first().value<QModelIndex>();
        QCOMPARE(model.imageAt(newIndex), leaf);
    }

    void barcodeCannotBeDragged() {
        auto tree = makeTree({{"A", {"p1"}}, {"B", {"p2"}}});
        ReviewModel model;
        model.setBarcodeList(tree.get());
        std::unique_ptr<QMimeData> first(model.mimeData({photoRow(model, 0, 0)}));
        QVERIFY(model.draggedImage());
        QVERIFY(!model.mimeData({barcodeRow(model, 0)}));
        QVERIFY(!model.draggedImage());
        // The earlier photo drag is over: its data no longer moves anything.
        QVERIFY(!model.dropMimeData(first.get(), Qt::MoveAction, -1, -1, barcodeRow(model, 1)));
    }

    void dropFromElsewhereIsRefused() {
        auto tree = makeTree({{"A", {"p1"}}, {"B", {}}});
        ReviewModel model;
        model.setBarcodeList(tree.get());
        std::unique_ptr<QMimeData> ours(model.mimeData({photoRow(model, 0, 0)}));
        QMimeData text;
        text.setText(QStringLiteral("p1"));
        QVERIFY(!model.canDropMimeData(&text, Qt::MoveAction, -1, -1, barcodeRow(model, 1)));
        QMimeData forged;
        forged.setData(QString::fromLatin1(ReviewModel::kPhotoMimeType), "12345");
        QVERIFY(!model.dropMimeData(&forged, Qt::MoveAction, -1, -1, barcodeRow(model, 1)));
        QVERIFY(!model.dropMimeData(ours.get(), Qt::CopyAction, -1, -1, barcodeRow(model, 1)));
        QCOMPARE(QString::fromStdString(describeTree(tree.get())), QStringLiteral("A: p1 | B:"));
    }

    void windowExpandsEveryBarcodeAndSelectsTheMovedPhoto() {
        auto tree = makeTree({{"A", {"p1", "p2"}}, {"B", {}}, {"C", {"p3"}}});
        ReviewWindow window;
        window.show();
        window.setBarcodeList(tree.get());
        ReviewModel* model = window.model();
        for (int row = 0; row < model->rowCount(); ++row)
            QVERIFY(window.imageSortView()->isExpanded(model->index(row, 0)));
        std::unique_ptr<QMimeData> data(model->mimeData({photoRow(*model, 0, 1)}));
        QVERIFY(model->dropMimeData(data.get(), Qt::MoveAction, -1, -1, barcodeRow(*model, 1)));
        QModelIndexList selected = window.imageSortView()->selectionModel()->selectedIndexes();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(model->data(selected.first()).toString(), QStringLiteral("p2"));
        QCOMPARE(selected.first().parent(), barcodeRow(*model, 1));
    }

    void selectionLoadsThePreview() {
        QTemporaryDir folder;
        QVERIFY(writeJpeg(folder.filePath("p1.jpg"), QSize(640, 480), Qt::green));
        QVERIFY(writePhotoWithEmbeddedPreview(folder.filePath("raw1.NEF")));
        auto tree = makeTree({{"A", {"p1.jpg", "raw1.NEF", "missing.jpg"}}});
        ReviewWindow window;
        window.setWorkingPathName(folder.path().toStdString() + "/");
        window.resize(900, 600);
        window.show();
        window.setBarcodeList(tree.get());
        QTreeView* view = window.imageSortView();
        ReviewModel* model = window.model();
        QVERIFY(window.selectedImage().isNull());

        view->setCurrentIndex(photoRow(*model, 0, 0));
        QCOMPARE(window.selectedImage().size(), QSize(640, 480));
        QLabel* preview = window.findChild<QLabel*>(QStringLiteral("preview"));
        QVERIFY(!preview->pixmap().isNull());
        // Scaled to fit its area, keeping the shape of the photo.
        QVERIFY(preview->pixmap().width() <= preview->width() &&
                preview->pixmap().height() <= preview->height());
        QVERIFY(qAbs(preview->pixmap().width() * 480 - preview->pixmap().height() * 640) <= 640);

        view->setCurrentIndex(photoRow(*model, 0, 1));
        QCOMPARE(window.selectedImage().size(), QSize(160, 120));
        QRgb centre = window.selectedImage().pixel(80, 60);
        QVERIFY(qBlue(centre) > 200 && qRed(centre) < 60);

        view->setCurrentIndex(photoRow(*model, 0, 2));
        QVERIFY(window.selectedImage().isNull());
        view->setCurrentIndex(photoRow(*model, 0, 0));
        view->setCurrentIndex(barcodeRow(*model, 0));
        QVERIFY(window.selectedImage().isNull());
    }

    void buttonsEndTheReviewWithTheirCodes_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("confirmation");
        QTest::addColumn<int>("code");
        QTest::newRow("OK confirmed") << "ibOKHit"
                                      << "Save Matches" << int(eReviewCode_OK);
        QTest::newRow("Cancel") << "ibCancelHit"
                                << "" << int(eReviewCode_Cancel);
        QTest::newRow("Revert") << "ibRevertHit"
                                << "" << int(eReviewCode_Revert);
        QTest::newRow("Return to Vesk-X") << "ibReturnToVeskx"
                                          << "" << int(eReviewCode_ReturnToHost);
    }
    void buttonsEndTheReviewWithTheirCodes() {
        QFETCH(QString, button);
        QFETCH(QString, confirmation);
        QFETCH(int, code);
        auto tree = makeTree({{"A", {"p1"}}});
        ReviewWindow window;
        window.setBarcodeList(tree.get());
        std::unique_ptr<MessageBoxAnswerer> answerer;
        if (!confirmation.isEmpty())
            answerer = std::make_unique<MessageBoxAnswerer>(confirmation);
        QTimer::singleShot(50, &window, [&] { window.findChild<QPushButton*>(button)->click(); });
        QCOMPARE(window.exec(), code);
        if (answerer)
            QCOMPARE(answerer->last().objectName, QStringLiteral("alert_NSAlertWindow_9005"));
    }

    void okConfirmationDefaultKeepsTheReviewOpen() {
        auto tree = makeTree({{"A", {"p1"}}});
        ReviewWindow window;
        window.setBarcodeList(tree.get());
        MessageBoxAnswerer keepReviewing(QStringLiteral("Keep Reviewing"));
        QTimer::singleShot(50, &window,
                           [&] { window.findChild<QPushButton*>(QStringLiteral("ibOKHit"))->click(); });
        // Once the confirmation has been answered, the review must still be open.
        bool openAfterAnswer = false;
        QTimer afterAnswer;
        connect(&afterAnswer, &QTimer::timeout, &window, [&] {
            if (keepReviewing.answered() == 0)
                return;
            afterAnswer.stop();
            QTimer::singleShot(100, &window, [&] {
                openAfterAnswer = window.isVisible();
                window.findChild<QPushButton*>(QStringLiteral("ibCancelHit"))->click();
            });
        });
        afterAnswer.start(10);
        QCOMPARE(window.exec(), int(eReviewCode_Cancel));
        QCOMPARE(keepReviewing.answered(), 1);
        QVERIFY(openAfterAnswer);
    }

    void growKeepsTheTopRightCornerWithinTheScreen() {
        ReviewWindow window;
        window.setMinimumSize(100, 100);
        window.show();
        QRect available = window.screen()->availableGeometry();
        QVERIFY(available.width() >= 800 && available.height() >= 600);
        window.setGeometry(available.right() - 240, available.top() + 40, 200, 150);
        QRect before = window.geometry();
        window.growOnce();
        QRect after = window.geometry();
        QCOMPARE(after.width(), qMin(before.width() + 550, available.width()));
        QCOMPARE(after.height(), qMin(before.height() + 330, available.height()));
        QCOMPARE(after.right(), before.right());
        QCOMPARE(after.top(), before.top());
        for (int i = 0; i < 5; ++i)
            window.growOnce();
        QVERIFY(window.geometry().width() <= available.width());
        QVERIFY(window.geometry().height() <= available.height());
        QVERIFY(available.contains(window.geometry()));
    }
};

QTEST_MAIN(TestReviewModel)
#include "test_review_model.moc"
