// The review window on a large shoot: prints how long it takes to open with every barcode
// expanded, to move photos by key and by drop, to show the large preview of a 24-megapixel photo
// (with the large preview cameras embed, and without), to fill the thumbnail strip of a
// 10-photo barcode from cold, and the memory the open review takes.
//
//   bench_review [PHOTOS [BARCODES]]     (default 20000 photos under 4000 barcodes)
//
// Run with QT_QPA_PLATFORM=offscreen, or under a display. The 24-megapixel JPEG files are made
// here, with EXIF time, EXIF thumbnail and a 1620 x 1080 preview in a multi-picture index.
#include "Barcode.h"
#include "BarcodeImage.h"
#include "PhotoLoader.h"
#include "PhotoPreview.h"
#include "ReviewModel.h"
#include "ReviewSession.h"
#include "ReviewTreeView.h"
#include "ReviewWindow.h"
#include "ShootPhotos.h"
#include "ThumbnailStrip.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const double kFirstScan = 1780997400.0;

// Resident memory of this process in MB (from /proc/self/status).
double residentMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0.0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0.0;
}

double msSince(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

// Processes events until done() holds (or 20 s pass); the milliseconds since timer started.
template <typename Done> double waitUntil(const QElapsedTimer& timer, Done done) {
    while (!done() && timer.elapsed() < 20000)
        QApplication::processEvents(QEventLoop::AllEvents, 1);
    return msSince(timer);
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const int photos = argc > 1 ? std::atoi(argv[1]) : 20000;
    const int barcodes = argc > 2 ? std::atoi(argv[2]) : 4000;
    if (photos < 40 || barcodes < 4 || photos / barcodes < 2) {
        std::fprintf(stderr, "usage: bench_review [PHOTOS >= 40 [BARCODES >= 4, at most PHOTOS/2]]\n");
        return 2;
    }
    std::freopen("/dev/null", "w", stderr);
    QTemporaryDir folder;
    const std::string root = folder.path().toStdString() + "/";

    // Twelve 24-megapixel photos for the strip's barcode and its neighbours, one without an
    // embedded large preview.
    QElapsedTimer timer;
    timer.start();
    PhotoFileOptions camera;
    camera.size = QSize(6000, 4000);
    camera.quality = 92;
    camera.largePreview = QSize(1620, 1080);
    camera.grain = true;
    PhotoFileOptions bare = camera;
    bare.largePreview = QSize();
    ShootPhotos::writePhoto(root + "bare.jpg", ShootPhotos::lookOf("bare"), (long long)kFirstScan, bare);
    for (int k = 0; k < 12; ++k)
        ShootPhotos::writePhoto(root + "big" + std::to_string(k) + ".jpg",
                                ShootPhotos::lookOf("S" + std::to_string(k)), (long long)kFirstScan + k,
                                camera);
    const qint64 fileBytes = QFileInfo(QString::fromStdString(root + "big0.jpg")).size();
    const double writeMs = msSince(timer);

    const double baseMb = residentMb();
    // The shoot: barcodes 30 s apart, photos 5 s apart after each scan; barcode 1 holds the ten
    // large photos, barcodes 0 and 2 one each at their ends.
    auto tree = std::make_unique<BarcodeList>();
    const int perBarcode = photos / barcodes;
    int extra = photos - perBarcode * barcodes;
    int number = 0;
    for (int node = 0; node < barcodes; ++node) {
        auto barcode = Barcode::barcodeWithValue("2026" + std::to_string(100000 + node));
        const double scan = kFirstScan + node * 30.0;
        barcode->setScanIndex(size_t(node));
        barcode->setScanTime(scan);
        const int count = node == 1 ? 10 : perBarcode + (extra-- > 0 ? 1 : 0);
        for (int k = 0; k < count; ++k) {
            std::string name =
                "Class " + std::to_string(node / 30) + "/IMG_" + std::to_string(1000 + number++) + ".JPG";
            if (node == 1)
                name = "big" + std::to_string(k) + ".jpg";
            else if (node == 0 && k == count - 1)
                name = "big10.jpg";
            else if (node == 2 && k == 0)
                name = "big11.jpg";
            else if (node == 3 && k == 0)
                name = "bare.jpg";
            auto photo = BarcodeImage::barcodeImageWithValue(name);
            photo->setCaptureTime(scan + 5 + 3 * k + 783);
            photo->setAlignedTime(scan + 5 + 3 * k);
            photo->setDoubts(number % 97 == 0 ? ePhotoDoubt_AfterLongPause : ePhotoDoubt_None);
            barcode->addObject(std::move(photo));
        }
        tree->push_back(std::move(barcode));
    }
    size_t listed = 0;
    for (const auto& node : *tree)
        listed += node->images().size();

    ReviewWindow window;
    window.resize(1280, 800);
    ReviewSession session(std::move(tree), nullptr, root);
    timer.restart();
    window.setSession(&session);
    window.show();
    QApplication::processEvents();
    const double openMs = msSince(timer);
    const double openMb = residentMb();

    ReviewModel* model = window.model();
    QItemSelectionModel* selection = window.imageSortView()->selectionModel();
    auto select = [&](int barcode, int photo) {
        selection->setCurrentIndex(model->index(photo, 0, model->index(barcode, 0)),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    };

    // The first large photo, from cold: its preview, then the whole strip (10 + 2 neighbours).
    timer.restart();
    select(1, 0);
    const double selectMs = msSince(timer);
    const double previewMs = waitUntil(timer, [&] { return !window.selectedImage().isNull(); });
    ThumbnailStrip* strip = window.thumbnailStrip();
    const double stripMs =
        waitUntil(timer, [&] { return strip->thumbnailsShown() == strip->entries().size(); });
    const int stripShown = strip->thumbnailsShown();
    window.photoLoader()->waitForIdle();
    QApplication::processEvents();

    // A photo without an embedded large preview: decoded whole, scaled to the pane.
    timer.restart();
    select(3, 0);
    const double barePreviewMs = waitUntil(timer, [&] { return !window.selectedImage().isNull(); });
    window.photoLoader()->waitForIdle();
    QApplication::processEvents();

    // The next large photo: prefetched while the photographer looked at the one before.
    select(1, 1);
    window.photoLoader()->waitForIdle();
    QApplication::processEvents();
    timer.restart();
    select(1, 2);
    const double prefetchedMs = waitUntil(timer, [&] { return !window.selectedImage().isNull(); });
    window.photoLoader()->waitForIdle();
    QApplication::processEvents();

    // Key moves (Alt+Down) of one photo, then drops of one photo onto a barcode far away.
    const int moves = 200;
    timer.restart();
    for (int i = 0; i < moves; ++i) {
        select(10 + i, 0);
        window.moveSelectionBy(1);
        QApplication::processEvents();
    }
    const double keyMoveMs = msSince(timer) / moves;
    timer.restart();
    for (int i = 0; i < moves; ++i) {
        const QModelIndex from = model->index(0, 0, model->index(300 + i, 0));
        std::unique_ptr<QMimeData> data(model->mimeData({from}));
        model->dropMimeData(data.get(), Qt::MoveAction, -1, -1, model->index(barcodes - 1 - i, 0));
        QApplication::processEvents();
    }
    const double dropMs = msSince(timer) / moves;
    timer.restart();
    for (int i = 0; i < moves * 2; ++i) {
        model->undoStack()->undo();
        QApplication::processEvents();
    }
    const double undoMs = msSince(timer) / (moves * 2);
    window.photoLoader()->waitForIdle();

    // The decodes alone, on this thread, at the size of the pane the window gave them.
    const QSize pane(640, 560);
    timer.restart();
    const QImage embedded = loadPhotoPreview(QString::fromStdString(root + "big5.jpg"), pane);
    const double embeddedAloneMs = msSince(timer);
    timer.restart();
    const QImage whole = loadPhotoPreview(QString::fromStdString(root + "bare.jpg"), pane);
    const double wholeAloneMs = msSince(timer);
    timer.restart();
    const QImage thumbnail = loadPhotoThumbnail(QString::fromStdString(root + "big6.jpg"), 100);
    const double thumbnailAloneMs = msSince(timer);

    std::printf("review of %zu photos under %d barcodes\n", listed, barcodes);
    std::printf("  (13 photos of 6000 x 4000, %.1f MB each, written in %.0f ms)\n", double(fileBytes) / 1e6,
                writeMs);
    std::printf("open with every barcode expanded:            %8.1f ms\n", openMs);
    std::printf("memory of the open review:                   %8.1f MB (%.1f MB process)\n", openMb - baseMb,
                openMb);
    std::printf("select a photo (user-interface thread):      %8.2f ms\n", selectMs);
    std::printf("large preview, 24 MP with embedded preview:  %8.1f ms from cold\n", previewMs);
    std::printf("large preview, 24 MP without one:            %8.1f ms from cold\n", barePreviewMs);
    std::printf("large preview of the next photo (prefetched):%8.1f ms\n", prefetchedMs);
    std::printf("thumbnail strip, 10-photo barcode + 2:       %8.1f ms from cold (%d shown)\n", stripMs,
                stripShown);
    std::printf("key move (Alt+Down) of a photo:              %8.2f ms per move (%d moves)\n", keyMoveMs,
                moves);
    std::printf("drop of a photo on a far barcode:            %8.2f ms per move (%d moves)\n", dropMs, moves);
    std::printf("undo of a move:                              %8.2f ms per undo\n", undoMs);
    std::printf(
        "decode alone: embedded preview to %dx%d:     %8.1f ms; whole photo: %.1f ms; thumbnail: %.1f ms\n",
        embedded.width(), embedded.height(), embeddedAloneMs, wholeAloneMs, thumbnailAloneMs);
    (void)whole;
    (void)thumbnail;
    std::printf("memory at the end:                           %8.1f MB process\n", residentMb());
    return 0;
}
