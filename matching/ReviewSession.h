// The match under review: the tree the photographer edits, the match it came from, and where
// matching put each photo. With it a review counts the photos moved, says how sure the clocks are,
// gives the figures of its summary line, and matches the shoot again with other clocks in place
// (an offset control, "this photo is this subject") so that the earlier match can be put back.
//
// The session owns the tree while the review runs; the match task takes it back at the end
// (takeTree). A match done again is a new tree: the one it replaces is handed to the caller (an
// undo command keeps it), and swapMatch puts it back. Pointers into a tree stay valid as long as
// the tree lives, whichever side holds it.
#pragma once

#include "Barcode.h"
#include "ClockEstimate.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

class ShootMatch;

// The figures of a review's summary line, counted on the tree as it stands.
struct ReviewFigures {
    size_t photos = 0;
    size_t barcodes = 0;
    // Photos with doubt marks that the photographer has not moved yet.
    size_t doubtful = 0;
    // Barcodes of the tree without photos, and scans after the last photo (no barcode in the tree).
    size_t emptyBarcodes = 0;
    size_t scansWithoutBarcode = 0;
    // Barcodes with far more photos than usual (two subjects under one scan, a card not scanned).
    size_t crowdedBarcodes = 0;
    // The median number of photos of the barcodes that have any.
    size_t usualPhotos = 0;
    // The clocks could not be lined up with confidence: every photo is unconfirmed.
    bool uncertain = false;
};

class ReviewSession {
  public:
    // One match of the shoot as the review holds it.
    struct Match {
        std::unique_ptr<BarcodeList> tree;
        // The clocks and evidence that made the tree; none for a tree that no match made here
        // (made by hand, or a failed match).
        std::optional<ClockEstimate> estimate;
        // Scans after the last photo, which the walk leaves without a barcode.
        size_t scansWithoutBarcode = 0;
        // Where matching put each photo, and how many photos sit elsewhere now.
        std::unordered_map<const BarcodeImage*, const Barcode*> matchedBarcode;
        size_t moved = 0;
        // True for the match the review opened with (the one the matched list file holds).
        bool opened = false;
    };

    // Reviews tree (null: an empty review) whose photo names are relative to workingPathName
    // (ends with "/"). shoot, when given, made the tree with its last match and lets the review
    // match again; it must outlive the session.
    ReviewSession(std::unique_ptr<BarcodeList> tree, ShootMatch* shoot, std::string workingPathName);
    ~ReviewSession();
    ReviewSession(const ReviewSession&) = delete;
    ReviewSession& operator=(const ReviewSession&) = delete;

    BarcodeList* tree() const { return fCurrent->tree.get(); }
    // The tree the review ends with; the session is empty afterwards.
    std::unique_ptr<BarcodeList> takeTree();
    const std::string& workingPathName() const { return fWorkingPathName; }
    // The clocks of the current tree; null when no match of this session made it.
    const ClockEstimate* estimate() const;

    // Moves image to target at index (-1 or past the end: as its last photo, the rule of every
    // move the photographer makes; an undo puts it back at its old index). false, and nothing
    // changes, when the image or the target is not in the tree, or target already holds it.
    bool moveImage(BarcodeImage* image, Barcode* target, int32_t index = -1);
    // The barcode matching gave the photo (null for a photo the session does not know).
    const Barcode* matchedBarcodeOf(const BarcodeImage* image) const;
    bool isMoved(const BarcodeImage* image) const;
    // Photos not under the barcode the current match gave them.
    size_t movedPhotos() const { return fCurrent->moved; }
    // The tree differs from the matched list file: photos moved, or the shoot matched again.
    bool hasChanges() const { return fCurrent->moved > 0 || !fCurrent->opened; }
    bool isRematched() const { return !fCurrent->opened; }

    // Whether the shoot can be matched again here (a match made the tree).
    bool canRematch() const;
    // Matches the shoot again with alignment: the new match becomes current and the one it
    // replaces is returned (null, and nothing changes, when the shoot cannot be matched again).
    std::unique_ptr<Match> rematch(const ClockAlignment& alignment);
    // Puts other in place and returns the match it replaces (an undo or redo of a rematch).
    std::unique_ptr<Match> swapMatch(std::unique_ptr<Match> other);
    // The clocks that put image under barcode ("this photo is this subject"), from the current
    // clocks; none when no offset does it or the shoot cannot be matched again.
    std::optional<ClockAlignment> alignmentPlacing(const BarcodeImage& image, const Barcode& barcode) const;

    ReviewFigures figures() const;
    // A barcode with photos far above the usual number (usualPhotos from figures()).
    static bool isCrowded(size_t photos, size_t usualPhotos);

  private:
    static std::unique_ptr<Match> makeMatch(std::unique_ptr<BarcodeList> tree);
    bool holds(const Barcode* barcode) const;

    ShootMatch* fShoot;
    std::string fWorkingPathName;
    std::unique_ptr<Match> fCurrent;
};
