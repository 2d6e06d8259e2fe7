#include "CameraBodies.h"

#include "MessageLog.h"

#include <cctype>
#include <fstream>
#include <map>
#include <unordered_map>

namespace {

// Bodies from the name rule count only when they are few and each holds a fair share of the
// photos; otherwise the names are an export's (one per subject) and tell nothing.
constexpr size_t kMostNameBodies = 4;
constexpr double kLeastNameBodyShare = 0.03;
constexpr size_t kLeastNameBodyPhotos = 6;

bool isCameraFolder(const std::string& part) {
    // DCF folders: three digits and five letters, digits or underscores ("100NIKON", "101CANON").
    if (part.size() != 8)
        return false;
    for (size_t i = 0; i < 3; ++i)
        if (!std::isdigit(static_cast<unsigned char>(part[i])))
            return false;
    for (size_t i = 3; i < 8; ++i)
        if (!std::isalnum(static_cast<unsigned char>(part[i])) && part[i] != '_')
            return false;
    return true;
}

// "DSC_" of "DSC_0001.JPG", "P" of "P1010001.JPG": one to five letters or underscores, then at
// least three digits up to the extension. Empty for other names.
std::string cameraFilePrefix(const std::string& file) {
    size_t letters = 0;
    while (letters < file.size() &&
           (std::isalpha(static_cast<unsigned char>(file[letters])) || file[letters] == '_'))
        ++letters;
    if (letters == 0 || letters > 5)
        return std::string();
    size_t digits = letters;
    while (digits < file.size() && std::isdigit(static_cast<unsigned char>(file[digits])))
        ++digits;
    if (digits - letters < 3 || (digits < file.size() && file[digits] != '.'))
        return std::string();
    return file.substr(0, letters);
}

// The side file's bodies by photo name; empty when there is none or it is not one.
std::unordered_map<std::string, std::string> readCamerasFile(const std::string& path) {
    std::unordered_map<std::string, std::string> bodies;
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open())
        return bodies;
    std::string line;
    if (!std::getline(file, line) || line.compare(0, 4, "CPU=") != 0 ||
        line.find("Contents=ImageCameras") == std::string::npos) {
        myPrintfDebug("The camera list [" + path + "] has no ImageCameras header; it is not used\n");
        return bodies;
    }
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0 || tab + 1 >= line.size())
            continue;
        bodies[line.substr(0, tab)] = line.substr(tab + 1);
    }
    if (file.bad())
        myPrintfDebug("Reading the camera list [" + path + "] failed part way; the bodies read are used\n");
    return bodies;
}

} // namespace

std::string CameraBodies::nameRuleBody(const std::string& photoName) {
    const size_t slash = photoName.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : photoName.substr(0, slash + 1);
    const std::string file = slash == std::string::npos ? photoName : photoName.substr(slash + 1);
    std::string body;
    size_t start = 0;
    while (start < folder.size()) {
        const size_t end = folder.find('/', start);
        const std::string part = folder.substr(start, end - start);
        body += isCameraFolder(part) ? "###" + part.substr(3) : part;
        body += '/';
        start = end + 1;
    }
    return body + cameraFilePrefix(file);
}

CameraBodies CameraBodies::identify(const std::vector<std::string>& photoNames,
                                    const std::string& camerasPath) {
    CameraBodies result;
    const std::unordered_map<std::string, std::string> named = readCamerasFile(camerasPath);
    // First the side file's bodies, then the name rule's for the photos it does not name. Keys are
    // marked by their source: \x01 side file, \x02 one body for all, \x03 name rule.
    std::vector<std::string> keyOfPhoto(photoNames.size());
    std::map<std::string, size_t> nameRuleCount;
    for (size_t i = 0; i < photoNames.size(); ++i) {
        auto found = named.find(photoNames[i]);
        if (found != named.end()) {
            keyOfPhoto[i] = "\x01" + found->second;
            continue;
        }
        keyOfPhoto[i] = "\x03" + nameRuleBody(photoNames[i]);
        ++nameRuleCount[keyOfPhoto[i]];
    }
    size_t unnamed = 0;
    for (const auto& entry : nameRuleCount)
        unnamed += entry.second;
    bool nameRuleTells = nameRuleCount.size() > 1 && nameRuleCount.size() <= kMostNameBodies;
    for (const auto& entry : nameRuleCount)
        nameRuleTells = nameRuleTells && entry.second >= kLeastNameBodyPhotos &&
                        double(entry.second) >= kLeastNameBodyShare * double(unnamed);
    std::map<std::string, size_t> bodyOfKey;
    result.fBodyOfPhoto.resize(photoNames.size());
    for (size_t i = 0; i < photoNames.size(); ++i) {
        std::string key = keyOfPhoto[i];
        if (key[0] != '\x01' && !nameRuleTells)
            key = "\x02";
        auto found = bodyOfKey.find(key);
        if (found == bodyOfKey.end()) {
            found = bodyOfKey.emplace(key, result.fLabels.size()).first;
            if (key[0] == '\x01')
                result.fLabels.push_back(key.substr(1));
            else if (key[0] == '\x02')
                result.fLabels.push_back("camera");
            else
                result.fLabels.push_back(key.size() > 1 ? key.substr(1) : std::string("camera"));
        }
        result.fBodyOfPhoto[i] = found->second;
    }
    if (result.fLabels.empty())
        result.fLabels.push_back("camera");
    return result;
}
