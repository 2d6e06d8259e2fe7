// The two lists of a shoot read from their files: the scans of the barcode data file (header
// lines skipped wherever they stand, repeated scans reduced) and the photos of the photo list,
// each photo with its camera body (CameraBodies.h, from the side file beside the photo list or
// from the names).
#pragma once

#include "CameraBodies.h"
#include "TimeItem.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class ShootLists {
  public:
    // Reads both files, reporting as the match always has ("NOT Enough records in the the Source
    // Barcode file:", ...). Null when either file yields no record or no record of a list has a
    // time; the photo list is not read when the data file yields no scan.
    static std::unique_ptr<ShootLists> read(const std::string& barcodeDataPath,
                                            const std::string& imageListPath);

    const std::vector<TimeItem>& scans() const { return fScans; }
    const std::vector<TimeItem>& photos() const { return fPhotos; }
    const CameraBodies& bodies() const { return fBodies; }
    // The last dated scan and the last dated photo: each list is measured from its own.
    TimeItemTime scanReference() const { return fScanReference; }
    TimeItemTime photoReference() const { return fPhotoReference; }
    // Seconds since 1970 of a record's time; none for an undated record.
    static std::optional<double> secondsOf(const TimeItem& record);

  private:
    std::vector<TimeItem> fScans;
    std::vector<TimeItem> fPhotos;
    CameraBodies fBodies;
    TimeItemTime fScanReference;
    TimeItemTime fPhotoReference;
};
