#include "ReviewSession.h"

#include "BarcodeImage.h"
#include "MessageLog.h"
#include "ShootMatch.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Barcodes with at least this many photos more than usual, and at least twice as many, are
// crowded: on a school line of 3 to 5 photos a subject, 10 photos under one scan are two subjects.
constexpr size_t kCrowdedExtra = 4;

size_t scansAfterTheLastPhoto(const ShootMatch& shoot) {
    size_t count = 0;
    for (const UnmatchedScan& scan : shoot.scansWithoutPhotos())
        count += scan.hasNode ? 0 : 1;
    return count;
}

} // namespace

ReviewSession::ReviewSession(std::unique_ptr<BarcodeList> tree, ShootMatch* shoot,
                             std::string workingPathName)
    : fShoot(shoot), fWorkingPathName(std::move(workingPathName)), fCurrent(makeMatch(std::move(tree))) {
    fCurrent->opened = true;
    if (fShoot && fCurrent->tree) {
        fCurrent->estimate = fShoot->estimate();
        fCurrent->scansWithoutBarcode = scansAfterTheLastPhoto(*fShoot);
    }
}

ReviewSession::~ReviewSession() = default;

std::unique_ptr<ReviewSession::Match> ReviewSession::makeMatch(std::unique_ptr<BarcodeList> tree) {
    auto match = std::make_unique<Match>();
    match->tree = std::move(tree);
    if (!match->tree)
        return match;
    for (const auto& node : *match->tree)
        for (const auto& image : node->images())
            match->matchedBarcode.emplace(image.get(), node.get());
    return match;
}

std::unique_ptr<BarcodeList> ReviewSession::takeTree() {
    std::unique_ptr<BarcodeList> tree = std::move(fCurrent->tree);
    fCurrent = makeMatch(nullptr);
    return tree;
}

const ClockEstimate* ReviewSession::estimate() const {
    return fCurrent->estimate ? &*fCurrent->estimate : nullptr;
}

bool ReviewSession::holds(const Barcode* barcode) const {
    if (!barcode || !fCurrent->tree)
        return false;
    for (const auto& node : *fCurrent->tree)
        if (node.get() == barcode)
            return true;
    return false;
}

bool ReviewSession::moveImage(BarcodeImage* image, Barcode* target, int32_t index) {
    if (!image || !target || image->parent() == target || !holds(image->parent()) || !holds(target))
        return false;
    Barcode* source = image->parent();
    const Barcode* matched = matchedBarcodeOf(image);
    const bool wasMoved = matched && matched != source;
    const bool nowMoved = matched && matched != target;
    std::unique_ptr<BarcodeImage> leaf = source->removeObject(image);
    if (index < 0)
        target->addObject(std::move(leaf));
    else
        target->insertObject(std::move(leaf), index);
    if (wasMoved && !nowMoved)
        --fCurrent->moved;
    else if (!wasMoved && nowMoved)
        ++fCurrent->moved;
    return true;
}

const Barcode* ReviewSession::matchedBarcodeOf(const BarcodeImage* image) const {
    auto found = fCurrent->matchedBarcode.find(image);
    return found == fCurrent->matchedBarcode.end() ? nullptr : found->second;
}

bool ReviewSession::isMoved(const BarcodeImage* image) const {
    const Barcode* matched = matchedBarcodeOf(image);
    return matched && image && matched != image->parent();
}

bool ReviewSession::canRematch() const {
    return fShoot && fCurrent->estimate && fCurrent->tree;
}

std::unique_ptr<ReviewSession::Match> ReviewSession::rematch(const ClockAlignment& alignment) {
    if (!canRematch())
        return nullptr;
    fShoot->matchWith(alignment);
    std::unique_ptr<Match> next = makeMatch(fShoot->takeTree());
    next->estimate = fShoot->estimate();
    next->scansWithoutBarcode = scansAfterTheLastPhoto(*fShoot);
    myPrintfDebug("Review: matched again, " + describeEstimate(fShoot->estimate(), fShoot->doubtfulPhotos()));
    std::swap(next, fCurrent);
    return next;
}

std::unique_ptr<ReviewSession::Match> ReviewSession::swapMatch(std::unique_ptr<Match> other) {
    if (!other)
        return nullptr;
    std::swap(other, fCurrent);
    return other;
}

std::optional<ClockAlignment> ReviewSession::alignmentPlacing(const BarcodeImage& image,
                                                              const Barcode& barcode) const {
    if (!canRematch() || image.photoIndex() == BarcodeImage::npos || barcode.scanIndex() == Barcode::npos)
        return std::nullopt;
    return fShoot->alignmentPlacing(image.photoIndex(), barcode.scanIndex(), fCurrent->estimate->alignment);
}

bool ReviewSession::isCrowded(size_t photos, size_t usualPhotos) {
    return usualPhotos > 0 && photos >= usualPhotos + kCrowdedExtra && photos >= 2 * usualPhotos;
}

ReviewFigures ReviewSession::figures() const {
    ReviewFigures figures;
    figures.scansWithoutBarcode = fCurrent->scansWithoutBarcode;
    figures.uncertain = fCurrent->estimate && fCurrent->estimate->uncertain;
    if (!fCurrent->tree)
        return figures;
    std::vector<size_t> counts;
    counts.reserve(fCurrent->tree->size());
    for (const auto& node : *fCurrent->tree) {
        ++figures.barcodes;
        const size_t photos = node->images().size();
        figures.photos += photos;
        if (photos == 0) {
            ++figures.emptyBarcodes;
            continue;
        }
        counts.push_back(photos);
        for (const auto& image : node->images())
            if (image->isDoubtful() && !isMoved(image.get()))
                ++figures.doubtful;
    }
    if (counts.empty())
        return figures;
    std::nth_element(counts.begin(), counts.begin() + std::ptrdiff_t(counts.size() / 2), counts.end());
    figures.usualPhotos = counts[counts.size() / 2];
    for (size_t photos : counts)
        figures.crowdedBarcodes += isCrowded(photos, figures.usualPhotos) ? 1 : 0;
    return figures;
}
