// The small property-list dialect of the program's own resources (the factory defaults): one
// <dict> of <key> entries whose values are <string>, <integer>, <real>, <true/> or <false/>.
#pragma once

#include <map>
#include <optional>
#include <string>

// Each value as text: strings as they stand (with the five XML entities decoded), numbers as
// written, booleans as "true" / "false". None, with a message naming source, when the text is
// not such a dictionary.
std::optional<std::map<std::string, std::string>> parsePropertyListDictionary(const std::string& text,
                                                                              const std::string& source);

// The built-in "FactoryDefault" "plist" resource, parsed.
std::optional<std::map<std::string, std::string>> builtinFactoryDefaults();
