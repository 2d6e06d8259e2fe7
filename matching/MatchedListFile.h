// The matched list file BarcodeMatchedList.txt: one line per photo in tree order, four
// TAB-separated fields (image name, barcode, previous barcode, next barcode), each line ended by
// CR alone. The neighbours are the nodes just before and after by position, photos or not.
#pragma once

#include "Barcode.h"

#include <string>

// Name of the matched list file inside the working folder.
extern const char kMatchedListFileName[]; // "BarcodeMatchedList.txt"

// Creates or empties the file at path and writes the tree; with threeIDs false the neighbour
// fields stay empty (every line still has three TABs). true when the file was written and the
// list held at least one node; false for no list or an empty one (the file is left empty), and
// when the file cannot be created or a write fails (reported, naming the file).
bool writeNSArrayToMatchedListFile(std::string path, const BarcodeList* list, bool threeIDs);
