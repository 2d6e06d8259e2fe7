#include "Unattended.h"

#include "MessageLog.h"

#include <cstdlib>

bool isUnattended() {
    const char* value = std::getenv("VESK_UNATTENDED");
    return value && std::string(value) == "1";
}

std::optional<std::string> unattendedAnswer(const std::string& key) {
    const char* answers = std::getenv("VESK_ANSWERS");
    if (!answers)
        return std::nullopt;
    std::string all = answers;
    size_t start = 0;
    while (start <= all.size()) {
        size_t end = all.find(',', start);
        if (end == std::string::npos)
            end = all.size();
        std::string pair = all.substr(start, end - start);
        start = end + 1;
        size_t equals = pair.find('=');
        if (equals == std::string::npos)
            continue;
        if (pair.substr(0, equals) == key)
            return pair.substr(equals + 1);
    }
    return std::nullopt;
}

int UnattendedPrompt::runAlert(const AlertPanelContent& content) {
    int result = 1;
    std::optional<std::string> answer = unattendedAnswer(content.key);
    if (answer) {
        if (*answer == "1" || *answer == content.defaultButton)
            result = 1;
        else if (*answer == "0" || (!content.alternateButton.empty() && *answer == content.alternateButton))
            result = 0;
        else if (*answer == "-1" || (!content.otherButton.empty() && *answer == content.otherButton))
            result = -1;
        else
            result = -2;
    }
    const std::string& button = result == 1    ? content.defaultButton
                                : result == 0  ? content.alternateButton
                                : result == -1 ? content.otherButton
                                               : std::string("(no button)");
    myPrintfDebug(myFormat("Unattended: alert %s \"%s\" answered %d [%s]%s", content.key.c_str(),
                           content.title.c_str(), result, button.c_str(), answer ? "" : " (default)"));
    return result;
}

std::optional<std::string> UnattendedPrompt::chooseFile(const std::string& title, const std::string&) {
    std::optional<std::string> answer = unattendedAnswer("openpanel");
    myPrintfDebug(myFormat("Unattended: file chooser \"%s\" answered [%s]", title.c_str(),
                           answer ? answer->c_str() : "cancel"));
    if (answer && answer->empty())
        return std::nullopt;
    return answer;
}
