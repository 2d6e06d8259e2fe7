// Assigns every photo of the photo list to a scan of the barcode data file by aligned time
// (ShootMatch.h does the work and keeps what a review needs besides the tree).
//
// With the last-record alignment each list is measured from its own last record that has a time
// (the last scan and the last photo count as simultaneous). A photo belongs to the latest scan reached so far
// whose relative time is strictly less than the photo's relative time plus the skew; the walk never goes
// back. Records without a time never move the walk: an undated photo stays with the scan of the photo before
// it; an undated scan gets its (empty) node when the walk reaches the next dated scan, and undated scans
// after the last dated scan get none.
#pragma once

#include "Barcode.h"

#include <memory>
#include <string>

// Lines the clocks up as the preference doUseLastBarcodeAsSyncData says: automatically (false),
// or on the last records with the skew of barcodeMatchSkewSeconds (true).
// The match tree (at least one node), or null when either file yields no records or no record
// of a list has a time; the message names the file.
std::unique_ptr<BarcodeList> MatchPhotos(const std::string& barcodeDataPath,
                                         const std::string& imageListPath);

// The last-record alignment with the skew given, for callers without preferences (vesk-cli
// match --skew, tests).
std::unique_ptr<BarcodeList> MatchPhotos(const std::string& barcodeDataPath, const std::string& imageListPath,
                                         float skewSeconds);
