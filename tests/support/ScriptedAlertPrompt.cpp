#include "ScriptedAlertPrompt.h"

namespace testsupport {

int ScriptedAlertPrompt::runAlert(const AlertPanelContent& content) {
    std::lock_guard<std::mutex> guard(fLock);
    fAsked.push_back(content.key);
    fShown[content.key] = content;
    auto found = fAnswers.find(content.key);
    return found == fAnswers.end() ? 1 : found->second;
}

std::optional<std::string> ScriptedAlertPrompt::chooseFile(const std::string&, const std::string&) {
    return std::nullopt;
}

void ScriptedAlertPrompt::answer(const std::string& key, int result) {
    std::lock_guard<std::mutex> guard(fLock);
    fAnswers[key] = result;
}

std::vector<std::string> ScriptedAlertPrompt::asked() const {
    std::lock_guard<std::mutex> guard(fLock);
    return fAsked;
}

void ScriptedAlertPrompt::clearAsked() {
    std::lock_guard<std::mutex> guard(fLock);
    fAsked.clear();
    fShown.clear();
}

std::string ScriptedAlertPrompt::message(const std::string& key) const {
    std::lock_guard<std::mutex> guard(fLock);
    auto found = fShown.find(key);
    return found == fShown.end() ? std::string() : found->second.message;
}

std::string ScriptedAlertPrompt::title(const std::string& key) const {
    std::lock_guard<std::mutex> guard(fLock);
    auto found = fShown.find(key);
    return found == fShown.end() ? std::string() : found->second.title;
}

} // namespace testsupport
