#include "ReviewCommands.h"

#include "Barcode.h"
#include "BarcodeImage.h"
#include "ReviewModel.h"

#include <utility>

namespace {

// The id under which changes of the offset control merge into one step.
const int kOffsetCommandId = 0x5645534b;

} // namespace

MovePhotosCommand::MovePhotosCommand(ReviewModel* model, std::vector<Move> moves, const QString& text)
    : QUndoCommand(text), fModel(model), fMoves(std::move(moves)) {}

void MovePhotosCommand::redo() {
    QList<BarcodeImage*> moved;
    if (fFirst) {
        fFirst = false;
        for (const Move& move : fMoves) {
            Barcode* from = move.image->parent();
            const int fromIndex = from ? int(from->indexOfObject(move.image)) : -1;
            if (!fModel->applyMove(move.image, move.target, -1))
                continue;
            fDone.push_back({move.image, from, fromIndex, move.target});
            moved << move.image;
        }
    } else {
        for (const Done& done : fDone) {
            fModel->applyMove(done.image, done.to, -1);
            moved << done.image;
        }
    }
    fModel->finishEdit(moved, false);
}

void MovePhotosCommand::undo() {
    QList<BarcodeImage*> moved;
    for (auto done = fDone.rbegin(); done != fDone.rend(); ++done) {
        fModel->applyMove(done->image, done->from, done->fromIndex);
        moved.prepend(done->image);
    }
    fModel->finishEdit(moved, false);
}

RematchCommand::RematchCommand(ReviewModel* model, const ClockAlignment& alignment, const QString& text,
                               bool mergeable)
    : QUndoCommand(text), fModel(model), fAlignment(alignment), fMergeable(mergeable) {}

void RematchCommand::redo() {
    if (fAlignment) {
        fHeld = fModel->applyRematch(*fAlignment);
        fAlignment.reset();
    } else {
        fHeld = fModel->applySwap(std::move(fHeld));
    }
    fModel->finishEdit({}, true);
}

void RematchCommand::undo() {
    fHeld = fModel->applySwap(std::move(fHeld));
    fModel->finishEdit({}, true);
}

int RematchCommand::id() const {
    return fMergeable ? kOffsetCommandId : -1;
}

// This command holds the match from before the first change; the later one's intermediate match is
// dropped with it.
bool RematchCommand::mergeWith(const QUndoCommand* other) {
    return other->id() == id() && fMergeable;
}
