// The review model over a session's match tree: its columns and marks, drag and drop of one and
// several photos, moves by step, and the undo history of every move.
#include "ReviewFixtures.h"
#include "ReviewModel.h"
#include "ReviewSession.h"

#include <QAbstractItemModelTester>
#include <QIcon>
#include <QMimeData>
#include <QtTest>

#include <cstdlib>

namespace {

QModelIndex barcodeRow(ReviewModel& model, int row) {
    return model.index(row, 0);
}
QModelIndex photoRow(ReviewModel& model, int barcode, int photo, int column = 0) {
    return model.index(photo, column, model.index(barcode, 0));
}

// A model over a hand-made tree, with the tester watching every change it signals.
struct ModelOver {
    explicit ModelOver(std::unique_ptr<BarcodeList> tree)
        : session(std::move(tree), nullptr, "/nowhere/"),
          tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest) {
        model.setSession(&session);
    }
    QString tree() const { return QString::fromStdString(describeTree(session.tree())); }
    ReviewSession session;
    ReviewModel model;
    QAbstractItemModelTester tester;
};

} // namespace

class TestReviewModel : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { setenv("LANGUAGE", "en", 1); }

    void shapeOfTheTree() {
        ModelOver over(makeTree({{"A", {"p1.jpg", "p2.jpg"}}, {"B", {}}, {"C", {"sub/p3.jpg"}}}));
        ReviewModel& model = over.model;
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), int(ReviewModel::eColumnCount));
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
        model.setSession(nullptr);
        QCOMPARE(model.rowCount(), 0);
    }

    // What a row shows: the scan time and count of a barcode, the capture time and the time after
    // the scan of a photo, and a mark on the doubtful, the moved, the empty and the crowded.
    void columnsAndMarks() {
        auto tree = timedTree();
        ModelOver over(std::move(tree));
        ReviewModel& model = over.model;
        const auto text = [&](const QModelIndex& index) { return model.data(index).toString(); };
        const auto marked = [&](const QModelIndex& index) {
            return !model.data(index, Qt::DecorationRole).value<QIcon>().isNull();
        };
        QCOMPARE(text(model.index(0, ReviewModel::eColumn_Time)), QStringLiteral("09:30:00"));
        QCOMPARE(text(model.index(0, ReviewModel::eColumn_Count)), QStringLiteral("3"));
        QCOMPARE(text(photoRow(model, 0, 0, ReviewModel::eColumn_Time)), QStringLiteral("09:43:08"));
        QCOMPARE(text(photoRow(model, 0, 0, ReviewModel::eColumn_Count)), QStringLiteral("+8 s"));
        QCOMPARE(text(photoRow(model, 0, 2, ReviewModel::eColumn_Count)), QStringLiteral("+1 min 35 s"));
        QVERIFY(!marked(photoRow(model, 0, 0)));
        QVERIFY(marked(photoRow(model, 0, 2)));
        QVERIFY(model.data(photoRow(model, 0, 2), ReviewModel::eRole_NeedsLook).toBool());
        QVERIFY(model.data(photoRow(model, 0, 2), Qt::ToolTipRole).toString().contains("long pause"));
        QVERIFY(marked(barcodeRow(model, 1)));  // no photo
        QVERIFY(!marked(barcodeRow(model, 0))); // three, as usual
        QVERIFY(marked(barcodeRow(model, 3)));  // twelve where three are usual
        QVERIFY(model.data(barcodeRow(model, 3), Qt::ToolTipRole).toString().contains("Far more photos"));
        // Moved away, the doubtful photo is marked as moved, and its time follows its new barcode.
        BarcodeImage* doubtful = model.imageAt(photoRow(model, 0, 2));
        QVERIFY(model.moveImage(doubtful, model.barcodeAt(barcodeRow(model, 2))));
        const QModelIndex moved = model.indexOfImage(doubtful);
        QVERIFY(model.data(moved, ReviewModel::eRole_Moved).toBool());
        QVERIFY(!model.data(moved, ReviewModel::eRole_NeedsLook).toBool());
        QVERIFY(model.data(moved, Qt::ToolTipRole).toString().contains("Moved by you from barcode A"));
        QCOMPARE(text(moved.siblingAtColumn(ReviewModel::eColumn_Count)), QStringLiteral("\u22125 s"));
        QCOMPARE(model.figures().doubtful, size_t(0));
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
        ModelOver over(makeTree({{"A", {"p1", "p2"}}, {"B", {}}, {"C", {"p3"}}}));
        ReviewModel& model = over.model;
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
        QSignalSpy moved(&model, &ReviewModel::imagesMoved);
        QCOMPARE(model.dropMimeData(data.get(), Qt::MoveAction, 0, 0, target), allowed);
        QCOMPARE(over.tree(), treeAfter);
        QCOMPARE(moved.count(), allowed ? 1 : 0);
        QCOMPARE(model.undoStack()->count(), allowed ? 1 : 0);
        if (!allowed)
            return;
        QCOMPARE(leaf->parent(), model.barcodeAt(target));
        QCOMPARE(moved.first().first().value<QList<BarcodeImage*>>(), QList<BarcodeImage*>{leaf});
        QCOMPARE(over.session.movedPhotos(), size_t(1));
    }

    // Selected rows from two barcodes dragged at once land in the order of the list; a photo
    // already on the target stays where it is.
    void severalPhotosDraggedTogether() {
        ModelOver over(makeTree({{"A", {"a1", "a2", "a3"}}, {"B", {"b1", "b2"}}, {"C", {"c1"}}}));
        ReviewModel& model = over.model;
        std::unique_ptr<QMimeData> data(model.mimeData(
            {photoRow(model, 1, 1), photoRow(model, 0, 2), photoRow(model, 2, 0), photoRow(model, 0, 1)}));
        QVERIFY(data);
        QCOMPARE(model.draggedImages().size(), 4);
        QVERIFY(model.canDropMimeData(data.get(), Qt::MoveAction, -1, -1, barcodeRow(model, 2)));
        QVERIFY(model.dropMimeData(data.get(), Qt::MoveAction, -1, -1, barcodeRow(model, 2)));
        QCOMPARE(over.tree(), QStringLiteral("A: a1 | B: b1 | C: c1 a2 a3 b2"));
        QCOMPARE(over.session.movedPhotos(), size_t(3));
        QCOMPARE(model.undoStack()->count(), 1);
        model.undoStack()->undo();
        QCOMPARE(over.tree(), QStringLiteral("A: a1 a2 a3 | B: b1 b2 | C: c1"));
        QCOMPARE(over.session.movedPhotos(), size_t(0));
    }

    void barcodeCannotBeDragged() {
        ModelOver over(makeTree({{"A", {"p1"}}, {"B", {"p2"}}}));
        ReviewModel& model = over.model;
        std::unique_ptr<QMimeData> first(model.mimeData({photoRow(model, 0, 0)}));
        QVERIFY(model.draggedImage());
        QVERIFY(!model.mimeData({barcodeRow(model, 0)}));
        QVERIFY(!model.draggedImage());
        // The earlier photo drag is over: its data no longer moves anything.
        QVERIFY(!model.dropMimeData(first.get(), Qt::MoveAction, -1, -1, barcodeRow(model, 1)));
    }

    void dropFromElsewhereIsRefused() {
        ModelOver over(makeTree({{"A", {"p1"}}, {"B", {}}}));
        ReviewModel& model = over.model;
        std::unique_ptr<QMimeData> ours(model.mimeData({photoRow(model, 0, 0)}));
        QMimeData text;
        text.setText(QStringLiteral("p1"));
        QVERIFY(!model.canDropMimeData(&text, Qt::MoveAction, -1, -1, barcodeRow(model, 1)));
        QMimeData forged;
        forged.setData(QString::fromLatin1(ReviewModel::kPhotoMimeType), "12345\n");
        QVERIFY(!model.dropMimeData(&forged, Qt::MoveAction, -1, -1, barcodeRow(model, 1)));
        QVERIFY(!model.dropMimeData(ours.get(), Qt::CopyAction, -1, -1, barcodeRow(model, 1)));
        QCOMPARE(over.tree(), QStringLiteral("A: p1 | B:"));
    }

    // Drags and key moves across several barcodes, then every step undone in turn gives back
    // exactly the tree before it (photos in their old places, not appended), and redone gives the
    // tree after it again.
    void undoAndRedoOfDragsAndKeyMoves() {
        ModelOver over(makeTree({{"A", {"a1", "a2", "a3"}}, {"B", {"b1", "b2"}}, {"C", {"c1"}}, {"D", {}}}));
        ReviewModel& model = over.model;
        auto leaf = [&](const char* name) {
            for (int row = 0; row < model.rowCount(); ++row)
                for (const auto& image : model.barcodeAtRow(row)->images())
                    if (image->imageName() == name)
                        return image.get();
            return static_cast<BarcodeImage*>(nullptr);
        };
        auto drag = [&](QList<const char*> names, int target) {
            QModelIndexList rows;
            for (const char* name : names)
                rows << model.indexOfImage(leaf(name));
            std::unique_ptr<QMimeData> data(model.mimeData(rows));
            return model.dropMimeData(data.get(), Qt::MoveAction, -1, -1, barcodeRow(model, target));
        };
        QStringList states{over.tree()};
        QVERIFY(drag({"a1"}, 2));
        states << over.tree();
        QVERIFY(model.moveImagesBy({leaf("b1"), leaf("c1")}, -1));
        states << over.tree();
        QVERIFY(model.moveImagesBy({leaf("a3"), leaf("c1")}, +1));
        states << over.tree();
        QVERIFY(drag({"b2", "a1"}, 3));
        states << over.tree();
        QCOMPARE(states,
                 (QStringList{"A: a1 a2 a3 | B: b1 b2 | C: c1 | D:", "A: a2 a3 | B: b1 b2 | C: c1 a1 | D:",
                              "A: a2 a3 b1 | B: b2 c1 | C: a1 | D:", "A: a2 b1 | B: b2 a3 | C: a1 c1 | D:",
                              "A: a2 b1 | B: a3 | C: c1 | D: b2 a1"}));
        // c1 went to B and came back: four photos are away from their matched barcodes.
        QCOMPARE(over.session.movedPhotos(), size_t(4));
        QCOMPARE(model.undoStack()->count(), 4);
        for (int step = 3; step >= 0; --step) {
            model.undoStack()->undo();
            QCOMPARE(over.tree(), states[step]);
        }
        QCOMPARE(over.session.movedPhotos(), size_t(0));
        for (int step = 1; step <= 4; ++step) {
            model.undoStack()->redo();
            QCOMPARE(over.tree(), states[step]);
        }
        QCOMPARE(over.session.movedPhotos(), size_t(4));
        // Moved back where matching put it, a photo no longer counts as moved.
        QVERIFY(drag({"a1"}, 0));
        QCOMPARE(over.session.movedPhotos(), size_t(3));
    }

    void stepsStopAtTheEnds() {
        ModelOver over(makeTree({{"A", {"a1"}}, {"B", {"b1"}}}));
        ReviewModel& model = over.model;
        BarcodeImage* a1 = model.imageAt(photoRow(model, 0, 0));
        BarcodeImage* b1 = model.imageAt(photoRow(model, 1, 0));
        QVERIFY(!model.moveImagesBy({a1}, -1));
        QVERIFY(!model.moveImagesBy({b1}, +1));
        // Of two, the one that can move does.
        QVERIFY(model.moveImagesBy({a1, b1}, -1));
        QCOMPARE(over.tree(), QStringLiteral("A: a1 b1 | B:"));
        QCOMPARE(model.undoStack()->count(), 1);
    }

  private:
    // Scans at 09:30:00, 09:31:00, 09:31:40 and 09:32:30 (scanner clock); a camera 13 minutes
    // ahead. A: photos 8 s, 20 s and (after a long pause) 95 s after the scan; B none; C one;
    // D twelve.
    static std::unique_ptr<BarcodeList> timedTree() {
        const double scan = 1780997400.0; // 2026-06-09 09:30:00 as the lists write it
        const double ahead = 13 * 60;
        auto tree = std::make_unique<BarcodeList>();
        const double scans[] = {scan, scan + 60, scan + 100, scan + 150};
        const char* names[] = {"A", "B", "C", "D"};
        for (int k = 0; k < 4; ++k) {
            auto node = Barcode::barcodeWithValue(names[k]);
            node->setScanIndex(size_t(k));
            node->setScanTime(scans[k]);
            tree->push_back(std::move(node));
        }
        auto addPhoto = [&](int barcode, const std::string& name, double after, uint32_t doubts) {
            auto leaf = BarcodeImage::barcodeImageWithValue(name);
            leaf->setCaptureTime(scans[barcode] + after + ahead);
            leaf->setAlignedTime(scans[barcode] + after);
            leaf->setDoubts(doubts);
            (*tree)[size_t(barcode)]->addObject(std::move(leaf));
        };
        addPhoto(0, "a1", 8, ePhotoDoubt_None);
        addPhoto(0, "a2", 20, ePhotoDoubt_None);
        addPhoto(0, "a3", 95, ePhotoDoubt_AfterLongPause);
        addPhoto(2, "c1", 10, ePhotoDoubt_None);
        for (int k = 0; k < 12; ++k)
            addPhoto(3, "d" + std::to_string(k), 5 + k, ePhotoDoubt_None);
        return tree;
    }
};

QTEST_MAIN(TestReviewModel)
#include "test_review_model.moc"
