// The matched list file BarcodeMatchedList.txt: one line per photo in tree order, four
// TAB-separated fields (image name, barcode, previous barcode, next barcode), each line ended by
// CR alone. The neighbours are the nodes just before and after by position, photos or not.
#pragma once

#include "Barcode.h"

#include <string>

// Name of the matched list file inside the working folder.
extern const char kMatchedListFileName[]; // "BarcodeMatchedList.txt"
// An earlier matched list set aside because it is not the result of the job now running.
extern const char kMatchedListEarlierFileName[]; // "BarcodeMatchedList.earlier.txt"

enum eMatchedListWrite {
    eMatchedListWrite_Written,   // the file holds the tree
    eMatchedListWrite_EmptyList, // no list or an empty one: the file is there and empty
    eMatchedListWrite_Failed,    // nothing could be written (reported, naming the file and why)
};

// Writes the tree to path: into path + ".part" beside it, flushed to the disk, then renamed into
// place, so that the host never reads half a file. With threeIDs false the neighbour fields stay
// empty (every line still has three TABs). When the write or the rename fails, nothing of it
// remains, and a file already at path is withdrawn (see withdrawMatchedList): the host must not
// take an earlier result for this one.
eMatchedListWrite writeMatchedListFile(const std::string& path, const BarcodeList* list, bool threeIDs);
// The same; true only for eMatchedListWrite_Written.
bool writeNSArrayToMatchedListFile(std::string path, const BarcodeList* list, bool threeIDs);

// Makes sure that no earlier matched list at path passes for the result of a match that did not
// write one (why: for the message). It is renamed to BarcodeMatchedList.earlier.txt beside it
// (replacing an older one of that name), which keeps it; where the folder allows no renaming (a
// read-only folder), it is emptied in place, the sign of a failed match the host already knows.
// Reports what it did. False only when the file is still there with its content.
bool withdrawMatchedList(const std::string& path, const std::string& why);
