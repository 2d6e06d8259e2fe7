// Conversions between UTF-8 and Mac OS Roman (iconv's "MACINTOSH" character set).
//
// Paths and photo names cross into the list files in Mac OS Roman; display text is UTF-8.
#pragma once

#include <optional>
#include <string>

// UTF-8 to Mac OS Roman; none when a character has no Mac OS Roman form or the input is not UTF-8.
std::optional<std::string> utf8ToMacRoman(const std::string& utf8);

// Mac OS Roman to UTF-8. Every byte has a Mac OS Roman meaning, so this never fails.
std::string macRomanToUtf8(const std::string& macRoman);

// True when every byte is 7-bit ASCII.
bool isSevenBitAscii(const std::string& text);

// True when text is valid UTF-8.
bool isValidUtf8(const std::string& text);
