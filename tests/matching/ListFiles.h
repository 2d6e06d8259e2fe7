// Builds a barcode data file and a photo list in a test folder, and shows a match tree as text.
#pragma once

#include "Barcode.h"
#include "TemporaryFolder.h"

#include <string>
#include <vector>

namespace listfiles {

const char kDataFileHeader[] =
    "CPU=1234\tVers=1.01\tContents=barcodes\tModel=Z-1070\tSN=17700042\tDateFormat=1\t"
    "moreInfo1\tmoreInfo2\tmoreInfo3\tmoreInfo4\n"
    "Scanned BarCode ID\tDate Scanned\tTime Scanned\tresv1_HeaderName_max20\t"
    "resv2_HeaderName_max20\tresv3_HeaderName_max20\n";

const char kPhotoListHeader[] =
    "CPU=1234\tVers=1.00\tContents=ImageList\tBuildDate=121026\tBuildTime=120000\t"
    "HasTitleRecord=True\n"
    "OriginalName\tCreationDate\tCreationTime\n";

// Lines are given without their LF; each gets one.
inline std::string joinLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\n";
    return bytes;
}

inline std::string writeScans(const testsupport::TemporaryFolder& folder,
                              const std::vector<std::string>& lines) {
    return folder.write("BarcodeDataSource.txt", kDataFileHeader + joinLines(lines));
}

inline std::string writePhotos(const testsupport::TemporaryFolder& folder,
                               const std::vector<std::string>& lines) {
    return folder.write("BarcodeImageList.txt", kPhotoListHeader + joinLines(lines));
}

// "A[p1,p2] B[] C[p3]": every node with its photos, in order.
inline std::string describe(const BarcodeList* list) {
    if (list == nullptr)
        return "(none)";
    std::string text;
    for (const auto& node : *list) {
        if (!text.empty())
            text += ' ';
        text += node->barcode() + "[";
        for (size_t i = 0; i < node->images().size(); ++i)
            text += (i ? "," : "") + node->images()[i]->imageName();
        text += "]";
    }
    return text;
}

} // namespace listfiles
