#include "PropertyList.h"

#include "MessageLog.h"

const char* vesk_factoryDefaultPlistText();

namespace {

// A forward-only reader over the XML elements of the text; comments, the declaration and the
// document type are skipped.
class ElementReader {
  public:
    explicit ElementReader(const std::string& text) : fText(text) {}

    // The next tag ("dict", "/dict", "true/"), or none at the end of the text.
    std::optional<std::string> nextTag() {
        while (true) {
            size_t open = fText.find('<', fPosition);
            if (open == std::string::npos)
                return std::nullopt;
            if (fText.compare(open, 4, "<!--") == 0) {
                size_t end = fText.find("-->", open);
                if (end == std::string::npos)
                    return std::nullopt;
                fPosition = end + 3;
                continue;
            }
            size_t close = fText.find('>', open);
            if (close == std::string::npos)
                return std::nullopt;
            fPosition = close + 1;
            std::string tag = fText.substr(open + 1, close - open - 1);
            if (!tag.empty() && (tag[0] == '?' || tag[0] == '!'))
                continue;
            size_t space = tag.find_first_of(" \t\r\n");
            if (space != std::string::npos)
                tag = tag.substr(0, space) + (tag.back() == '/' ? "/" : "");
            return tag;
        }
    }

    // The text up to the closing tag of name, entities decoded; none when it is missing.
    std::optional<std::string> textUntilClose(const std::string& name) {
        std::string closing = "</" + name + ">";
        size_t end = fText.find(closing, fPosition);
        if (end == std::string::npos)
            return std::nullopt;
        std::string raw = fText.substr(fPosition, end - fPosition);
        fPosition = end + closing.size();
        return decodeEntities(raw);
    }

  private:
    static std::string decodeEntities(const std::string& raw) {
        static const std::pair<const char*, char> kEntities[] = {
            {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''}};
        std::string result;
        for (size_t i = 0; i < raw.size(); ++i) {
            bool decoded = false;
            for (const auto& entity : kEntities) {
                size_t length = std::char_traits<char>::length(entity.first);
                if (raw.compare(i, length, entity.first) != 0)
                    continue;
                result += entity.second;
                i += length - 1;
                decoded = true;
                break;
            }
            if (!decoded)
                result += raw[i];
        }
        return result;
    }

    const std::string& fText;
    size_t fPosition = 0;
};

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

} // namespace

std::optional<std::map<std::string, std::string>> parsePropertyListDictionary(const std::string& text,
                                                                              const std::string& source) {
    ElementReader reader(text);
    std::optional<std::string> tag;
    while ((tag = reader.nextTag()) && *tag != "dict") {
        if (*tag != "plist") {
            myPrintf("The property list " + source + " does not hold a dictionary");
            return std::nullopt;
        }
    }
    if (!tag) {
        myPrintf("The property list " + source + " does not hold a dictionary");
        return std::nullopt;
    }
    std::map<std::string, std::string> values;
    while ((tag = reader.nextTag())) {
        if (*tag == "/dict")
            return values;
        std::optional<std::string> key =
            tag == std::string("key") ? reader.textUntilClose("key") : std::nullopt;
        std::optional<std::string> valueTag = key ? reader.nextTag() : std::nullopt;
        if (!valueTag)
            break;
        if (*valueTag == "true/" || *valueTag == "false/") {
            values[*key] = *valueTag == "true/" ? "true" : "false";
            continue;
        }
        if (*valueTag != "string" && *valueTag != "integer" && *valueTag != "real")
            break;
        std::optional<std::string> value = reader.textUntilClose(*valueTag);
        if (!value)
            break;
        values[*key] = *valueTag == "string" ? *value : trimmed(*value);
    }
    myPrintf("The property list " + source + " has an entry that is not a key with a text, number or flag");
    return std::nullopt;
}

std::optional<std::map<std::string, std::string>> builtinFactoryDefaults() {
    return parsePropertyListDictionary(vesk_factoryDefaultPlistText(), "FactoryDefault.plist");
}
