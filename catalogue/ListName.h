// The name under which a photo appears in the image list.
//
// The list holds names in Mac OS Roman, one per line, TAB-separated, at most 999 bytes. A name
// that does not fit is never dropped or silently garbled: the characters that cannot be written
// become %XX escapes of their UTF-8 bytes (in such a name a "%" itself becomes %25, so the listed
// form decodes back to the exact file name), an over-long name is shortened in the middle, and
// the caller tells the user what happened.
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

// A path as a message text (messages are Mac OS Roman): escaped the same way, never shortened.
std::string messageTextForPath(const std::string& path);
