// Shows what the photographer sees for the screenshots of docs/: "review" opens the review
// window over a real match of generated photos with one photo selected; "alert KEY" shows that
// alert of the built-in table; "preferences" opens the preferences dialog. Each stays up until
// the window is closed or the given number of seconds (second argument, default 8) has passed.
//
// "grab FAMILY SEED FILE.png" needs no display (QT_QPA_PLATFORM=offscreen): it generates a shoot
// of that family with real JPEG files, matches it as the program does, opens the review on its
// first doubtful photo (or its third photo), waits for the preview and thumbnails, and saves the
// window's picture. The language is the desktop's (LANGUAGE=es for Spanish).
#include "AlertPanel.h"
#include "GeneralPreferencesDialog.h"
#include "MatchPhotos.h"
#include "PhotoLoader.h"
#include "Preferences.h"
#include "QtAlertPrompt.h"
#include "QtPreferenceStore.h"
#include "QtTranslations.h"
#include "ReviewModel.h"
#include "ReviewSession.h"
#include "ReviewTreeView.h"
#include "ReviewWindow.h"
#include "ShootMatch.h"
#include "ShootPhotos.h"
#include "ShootSimulator.h"
#include "ThumbnailStrip.h"

#include <QApplication>
#include <QFile>
#include <QLinearGradient>
#include <QMainWindow>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <cstdio>

namespace {

const char* const kNames[] = {"Ava Lindqvist", "Ben Okafor", "Chloe Marsh", "Dev Patel",
                              "Elif Kaya",     "Finn Byrne", "Gia Romano",  "Hugo Laine"};

void writePhoto(const QString& path, const QString& subject, int shot, int hue) {
    QImage image(1500, 1000, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 1500, 1000);
    gradient.setColorAt(0, QColor::fromHsv(hue, 120, 230));
    gradient.setColorAt(1, QColor::fromHsv((hue + 40) % 360, 200, 120));
    painter.fillRect(image.rect(), gradient);
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPoint(750, 400), 170, 200);
    painter.drawRoundedRect(QRect(480, 620, 540, 420), 200, 200);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(70);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 40, 1500, 100), Qt::AlignCenter,
                     QStringLiteral("%1  -  shot %2").arg(subject).arg(shot));
    painter.end();
    image.save(path, "JPEG", 85);
}

// A shoot of eight subjects a minute or two apart, photos 5 to 40 s after each scan, with the
// last scan a retake of the same subject's barcode.
void writeShoot(const QString& folder) {
    QFile scans(folder + "/BarcodeDataSource.txt");
    QFile photos(folder + "/BarcodeImageList.txt");
    scans.open(QIODevice::WriteOnly);
    photos.open(QIODevice::WriteOnly);
    scans.write("CPU=PDX-PRO\tZ-1070\nScanned BarCode ID\tDate\tTime\n");
    photos.write("VeskBarcode photo list\nOriginalName\tCreationDate\n");
    int scanTime = 9 * 3600 + 30 * 60;
    int photoNumber = 4711;
    const int delays[][3] = {{8, 15, 31}, {6, 12, 0},  {10, 22, 37}, {7, 0, 0},
                             {9, 18, 26}, {12, 25, 0}, {5, 14, 33},  {11, 19, 0}};
    for (int subject = 0; subject < 8; ++subject) {
        scanTime += subject == 0 ? 0 : 70 + 9 * subject;
        QString barcode = QStringLiteral("2026%1").arg(1040 + subject * 7);
        scans.write(QStringLiteral("%1\t050126\t%2\n")
                        .arg(barcode, QTime(0, 0).addSecs(scanTime).toString("hhmmss"))
                        .toLatin1());
        for (int k = 0; k < 3 && delays[subject][k]; ++k) {
            QString name =
                QStringLiteral("%1/IMG_%2.JPG").arg(subject < 4 ? "Class 4A" : "Class 4B").arg(photoNumber++);
            QDir().mkpath(folder + "/" + name.section('/', 0, 0));
            writePhoto(folder + "/" + name, QString::fromLatin1(kNames[subject]), k + 1, subject * 45);
            int photoTime = scanTime + delays[subject][k] + 3 * 60 + 12;
            photos.write(QStringLiteral("%1\t050126\t%2\n")
                             .arg(name, QTime(0, 0).addSecs(photoTime).toString("hhmmss"))
                             .toLatin1());
        }
    }
}

// The review over a generated shoot of family and seed, grabbed into file once its photos show.
int grabReview(const QString& family, uint64_t seed, const QString& file) {
    const std::vector<ShootFamilyInfo>& families = shootFamilies();
    const auto info = std::find_if(families.begin(), families.end(), [&](const ShootFamilyInfo& one) {
        return family == QLatin1String(one.name);
    });
    if (info == families.end()) {
        std::fprintf(stderr, "no shoot family %s\n", qPrintable(family));
        return 2;
    }
    QTemporaryDir folder;
    const std::string root = folder.path().toStdString() + "/";
    const SimulatedShoot shoot = ShootSimulator::generate(info->family, seed);
    PhotoFileOptions options;
    options.size = QSize(1200, 800);
    if (!shoot.write(root, false) || !ShootPhotos::writeShoot(shoot, root, options)) {
        std::fprintf(stderr, "the shoot could not be written in %s\n", root.c_str());
        return 1;
    }
    std::unique_ptr<ShootMatch> match =
        ShootMatch::read(root + "BarcodeDataSource.txt", root + "BarcodeImageList.txt");
    if (!match || !match->matchWithPreferences()) {
        std::fprintf(stderr, "the generated shoot did not match\n");
        return 1;
    }
    std::printf("%s\n", match->summary().c_str());
    ReviewSession session(match->takeTree(), match.get(), root);
    ReviewWindow window;
    window.resize(1280, 800);
    window.setSession(&session);
    window.show();
    if (!window.goToDoubtfulPhoto(true)) {
        ReviewModel* model = window.model();
        window.imageSortView()->setCurrentIndex(model->index(2, 0, model->index(3, 0)));
    }
    for (int round = 0; round < 3; ++round) {
        window.photoLoader()->waitForIdle();
        QApplication::processEvents();
    }
    window.imageSortView()->scrollTo(window.imageSortView()->currentIndex(),
                                     QAbstractItemView::PositionAtCenter);
    QApplication::processEvents();
    if (!window.grab().save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QString what = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("review");
    if (what == "grab") {
        if (argc != 5) {
            std::fprintf(stderr, "usage: review_screenshot grab FAMILY SEED FILE.png\n");
            return 2;
        }
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        installQtPreferenceStore();
        installTranslations();
        return grabReview(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toULongLong(),
                          QString::fromLocal8Bit(argv[4]));
    }
    int seconds = 8;
    if (argc > 3 || (argc > 2 && what != "alert"))
        seconds = QString::fromLocal8Bit(argv[argc - 1]).toInt();
    QTimer::singleShot(seconds * 1000, &application, [] { QApplication::exit(0); });
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    installQtPreferenceStore();

    QMainWindow mainWindow;
    mainWindow.setWindowTitle(QStringLiteral("VeskBarcode"));
    mainWindow.resize(640, 420);
    mainWindow.move(560, 60);
    installQtAlertPrompt(&mainWindow);

    if (what == "alert") {
        QByteArray key = argc > 2 ? QByteArray(argv[2]) : QByteArray("NSAlertWindow_1005");
        mainWindow.show();
        QTimer::singleShot(
            300, [key] { myNSRunAlertPanel("myLocalDictionary", key.constData(), "17700042", nullptr); });
        return application.exec();
    }
    if (what == "preferences") {
        mainWindow.show();
        QTimer::singleShot(300, [&mainWindow] { openPreferencesDialog(&mainWindow); });
        return application.exec();
    }

    QTemporaryDir folder;
    writeShoot(folder.path());
    std::unique_ptr<BarcodeList> tree = MatchPhotos((folder.path() + "/BarcodeDataSource.txt").toStdString(),
                                                    (folder.path() + "/BarcodeImageList.txt").toStdString());
    if (!tree) {
        std::fprintf(stderr, "the generated shoot did not match\n");
        return 1;
    }
    ReviewSession session(std::move(tree), nullptr, folder.path().toStdString() + "/");
    ReviewWindow window;
    window.move(560, 60);
    window.growOnce();
    window.setSession(&session);
    window.show();
    ReviewModel* model = window.model();
    window.imageSortView()->setCurrentIndex(model->index(1, 0, model->index(2, 0)));
    return application.exec();
}
