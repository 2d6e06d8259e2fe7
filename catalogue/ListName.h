// The name under which a photo appears in the image list.
//
// The list holds names in Mac OS Roman, one per line, TAB-separated, at most 999 bytes. A name
// that does not fit is never dropped or silently garbled: the characters that cannot be written
// become %XX escapes of their UTF-8 bytes, an over-long name is shortened in the middle, and the
// caller tells the user what happened.
//
// The escaping rule, which keeps two files from ever sharing a listed name: a name is escaped
// when it has characters Mac OS Roman lacks, bytes that are not UTF-8, control characters, or a
// "%" followed by two hexadecimal digits (which a reader would take for an escape); in an escaped
// name every "%" is written %25. So every listed name that was not shortened decodes back to its
// exact file name with a percent decoder that leaves a "%" not followed by two hexadecimal digits
// as it stands: "new\nline.jpg" is listed as new%0Aline.jpg and a file really named
// "new%0Aline.jpg" as new%250Aline.jpg, while "100%.jpg" stays as it is.
#pragma once

#include <string>

constexpr size_t kMaxListNameBytes = 999;

struct ListName {
    // The name as written, in Mac OS Roman.
    std::string text;
    // Empty when the name is written as it stands; otherwise why it was changed, for the user.
    std::string problem;
};

// relativePath is the file system's name (UTF-8 by convention, but any bytes are possible).
ListName makeListName(const std::string& relativePath);

// The relative path (file-system bytes) of a name as the list holds it, after the list's Mac OS
// Roman has been converted to UTF-8 (as the matched list and the review hold it): the inverse of
// makeListName for every name that was not shortened. A shortened name (one that had to be cut to
// 999 bytes) cannot be mapped back; the result then names no file.
std::string relativePathOfListName(const std::string& utf8ListedName);

// A path as a message text (messages are Mac OS Roman): escaped the same way, never shortened.
std::string messageTextForPath(const std::string& path);
