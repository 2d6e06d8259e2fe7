// Small match trees and list files for the review and match task tests.
#pragma once

#include "Barcode.h"
#include "BarcodeImage.h"

#include "QtFileContent.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A tree from (barcode, photos) pairs.
inline std::unique_ptr<BarcodeList>
makeTree(std::initializer_list<std::pair<const char*, std::vector<const char*>>> nodes) {
    auto list = std::make_unique<BarcodeList>();
    for (const auto& node : nodes) {
        std::unique_ptr<Barcode> barcode = Barcode::barcodeWithValue(node.first);
        for (const char* photo : node.second)
            barcode->addObject(BarcodeImage::barcodeImageWithValue(photo));
        list->push_back(std::move(barcode));
    }
    return list;
}

// "A: p1 p2 | B: | C: p3": the tree as one line, for comparisons.
inline std::string describeTree(const BarcodeList* list) {
    if (!list)
        return "(none)";
    std::string text;
    for (const auto& node : *list) {
        if (!text.empty())
            text += " | ";
        text += node->barcode() + ":";
        for (const auto& image : node->images())
            text += " " + image->imageName();
    }
    return text;
}

// The match task's tests read and write the list files through the shared helpers.
using testsupport::readFile;
using testsupport::writeFile;
