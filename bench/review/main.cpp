// Opens the review window over 2,000 photos under 500 barcodes and prints how long the window
// takes to show the expanded tree, to select photos one after another (their files loaded as
// previews, one a 12-megapixel JPEG) and to move photos by drops.
//
// Run with QT_QPA_PLATFORM=offscreen, or under a display.
#include "Barcode.h"
#include "BarcodeImage.h"
#include "ReviewModel.h"
#include "ReviewSession.h"
#include "ReviewTreeView.h"
#include "ReviewWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTreeView>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::freopen("/dev/null", "w", stderr);
    QTemporaryDir folder;
    QImage photo(4000, 3000, QImage::Format_RGB32);
    photo.fill(QColor(90, 140, 200));
    photo.save(folder.filePath("big.jpg"), "JPEG", 90);
    QImage small(1200, 800, QImage::Format_RGB32);
    small.fill(QColor(200, 140, 90));
    small.save(folder.filePath("small.jpg"), "JPEG", 90);

    BarcodeList tree;
    for (int node = 0; node < 500; ++node) {
        tree.push_back(Barcode::barcodeWithValue("S" + std::to_string(10000 + node)));
        for (int k = 0; k < 4; ++k)
            tree.back()->addObject(
                BarcodeImage::barcodeImageWithValue(k == 0 && node == 0 ? "big.jpg" : "small.jpg"));
    }

    ReviewWindow window;
    window.resize(1020, 670);
    QElapsedTimer timer;
    timer.start();
    ReviewSession session(std::make_unique<BarcodeList>(std::move(tree)), nullptr,
                          folder.path().toStdString() + "/");
    window.setSession(&session);
    window.show();
    QApplication::processEvents();
    double openMs = double(timer.nsecsElapsed()) / 1e6;

    ReviewModel* model = window.model();
    timer.restart();
    window.imageSortView()->setCurrentIndex(model->index(0, 0, model->index(0, 0)));
    QApplication::processEvents();
    double bigMs = double(timer.nsecsElapsed()) / 1e6;

    const int selections = 200;
    timer.restart();
    for (int i = 0; i < selections; ++i) {
        window.imageSortView()->setCurrentIndex(model->index(1 + i % 3, 0, model->index(i % 500, 0)));
        QApplication::processEvents();
    }
    double selectMs = double(timer.nsecsElapsed()) / 1e6 / selections;

    const int moves = 200;
    timer.restart();
    for (int i = 0; i < moves; ++i) {
        QModelIndex from = model->index(0, 0, model->index(i % 250, 0));
        std::unique_ptr<QMimeData> data(model->mimeData({from}));
        model->dropMimeData(data.get(), Qt::MoveAction, -1, -1, model->index(250 + i % 250, 0));
        QApplication::processEvents();
    }
    double moveMs = double(timer.nsecsElapsed()) / 1e6 / moves;

    std::printf("review of 2000 photos under 500 barcodes\n");
    std::printf("open with every barcode expanded: %8.1f ms\n", openMs);
    std::printf("select the 12-megapixel JPEG:     %8.1f ms\n", bigMs);
    std::printf("select a 1-megapixel JPEG:        %8.1f ms per photo (%d selections)\n", selectMs,
                selections);
    std::printf("move a photo by a drop:           %8.2f ms per move (%d moves)\n", moveMs, moves);
    return 0;
}
