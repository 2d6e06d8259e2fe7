#include "MatchPhotos.h"

#include "ShootMatch.h"

std::unique_ptr<BarcodeList> MatchPhotos(const std::string& barcodeDataPath,
                                         const std::string& imageListPath) {
    std::unique_ptr<ShootMatch> shoot = ShootMatch::read(barcodeDataPath, imageListPath);
    if (!shoot || !shoot->matchWithPreferences())
        return nullptr;
    return shoot->takeTree();
}

std::unique_ptr<BarcodeList> MatchPhotos(const std::string& barcodeDataPath, const std::string& imageListPath,
                                         float skewSeconds) {
    std::unique_ptr<ShootMatch> shoot = ShootMatch::read(barcodeDataPath, imageListPath);
    if (!shoot || !shoot->matchLastRecord(skewSeconds))
        return nullptr;
    return shoot->takeTree();
}
