// The steps of the review's undo history: photos moved, and the shoot matched again.
#pragma once

#include "ClockAlignment.h"
#include "ReviewSession.h"

#include <QList>
#include <QUndoCommand>

#include <memory>
#include <optional>
#include <vector>

class Barcode;
class BarcodeImage;
class ReviewModel;

// Photos moved, each to the end of its target's photos; undone, each goes back to its place.
class MovePhotosCommand : public QUndoCommand {
  public:
    struct Move {
        BarcodeImage* image;
        Barcode* target;
    };
    MovePhotosCommand(ReviewModel* model, std::vector<Move> moves, const QString& text);
    void redo() override;
    void undo() override;
    // Whether any photo moved when the command was first done.
    bool movedAny() const { return !fDone.empty(); }

  private:
    struct Done {
        BarcodeImage* image;
        Barcode* from;
        int fromIndex;
        Barcode* to;
    };
    ReviewModel* fModel;
    std::vector<Move> fMoves;
    std::vector<Done> fDone;
    bool fFirst = true;
};

// The shoot matched again with other clocks. The command holds the match that is not shown: the
// earlier one once done, the later one once undone.
class RematchCommand : public QUndoCommand {
  public:
    // mergeable: consecutive changes of the offset control become one step.
    RematchCommand(ReviewModel* model, const ClockAlignment& alignment, const QString& text, bool mergeable);
    void redo() override;
    void undo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;
    // Whether the first redo matched (false when the shoot cannot be matched again).
    bool matched() const { return fHeld != nullptr; }

  private:
    ReviewModel* fModel;
    std::optional<ClockAlignment> fAlignment;
    std::unique_ptr<ReviewSession::Match> fHeld;
    bool fMergeable;
};
