// vesk-cli match BARCODE_FILE IMAGE_LIST OUT [--align auto|last] [--skew SECONDS] [--report FILE]
//                [--two-ids]
//
// Matches a barcode data file with a photo list as the job does and writes the matched list, so
// that a shoot can be matched again without the scanner. --align auto lines the clocks up from the
// two lists; --align last (or --skew alone, as before) on the last records with the skew. --report
// writes the clock estimate and every doubtful photo with its reasons, one per line.
#include "CliCommands.h"

#include "MatchedListFile.h"
#include "ShootMatch.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "usage: vesk-cli match BARCODE_FILE IMAGE_LIST OUT [--align auto|last] [--skew SECONDS] "
    "[--report FILE] [--two-ids]\n";

std::optional<float> parseSkew(const char* text) {
    errno = 0;
    char* end = nullptr;
    float skew = std::strtof(text, &end);
    if (errno != 0 || end == text || *end != '\0' || !std::isfinite(skew))
        return std::nullopt;
    return skew;
}

struct MatchArguments {
    std::vector<std::string> files;
    std::optional<float> skew;
    // "auto", "last", or empty when not given.
    std::string align;
    std::string report;
    bool threeIDs = true;
};

bool usageError(const std::string& message) {
    fprintf(stderr, "vesk-cli match: %s\n%s", message.c_str(), kUsage);
    return false;
}

// false after reporting a usage error.
bool parseArguments(int argc, char** argv, MatchArguments& arguments) {
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--two-ids") == 0) {
            arguments.threeIDs = false;
            continue;
        }
        if (std::strcmp(argv[i], "--skew") == 0) {
            if (i + 1 >= argc)
                return usageError("--skew needs a number of seconds");
            arguments.skew = parseSkew(argv[++i]);
            if (!arguments.skew)
                return usageError(std::string("the skew \"") + argv[i] + "\" is not a number of seconds");
            continue;
        }
        if (std::strcmp(argv[i], "--align") == 0) {
            if (i + 1 >= argc)
                return usageError("--align needs auto or last");
            arguments.align = argv[++i];
            if (arguments.align != "auto" && arguments.align != "last")
                return usageError("--align is auto or last, not \"" + arguments.align + "\"");
            continue;
        }
        if (std::strcmp(argv[i], "--report") == 0) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0')
                return usageError("--report needs a file name");
            arguments.report = argv[++i];
            continue;
        }
        if (std::strncmp(argv[i], "--", 2) == 0)
            return usageError(std::string("unknown option \"") + argv[i] + "\"");
        arguments.files.push_back(argv[i]);
    }
    if (arguments.files.size() != 3)
        return usageError("expected BARCODE_FILE IMAGE_LIST OUT");
    if (arguments.align.empty() && !arguments.skew)
        return usageError("--skew SECONDS is required for the last-record alignment (or give --align auto)");
    if (arguments.align == "last" && !arguments.skew)
        return usageError("--align last needs --skew SECONDS");
    if (arguments.align == "auto" && arguments.skew)
        return usageError("--skew belongs to --align last; the automatic alignment needs none");
    return true;
}

size_t countPhotos(const BarcodeList& list) {
    size_t photos = 0;
    for (const auto& node : list)
        photos += node->images().size();
    return photos;
}

} // namespace

int cliMatch(int argc, char** argv) {
    MatchArguments arguments;
    if (!parseArguments(argc, argv, arguments))
        return 2;
    const std::string& barcodeFile = arguments.files[0];
    const std::string& imageList = arguments.files[1];
    const std::string& out = arguments.files[2];
    const bool automatic = arguments.align == "auto";

    std::unique_ptr<ShootMatch> shoot = ShootMatch::read(barcodeFile, imageList);
    bool matched = shoot != nullptr;
    if (matched && automatic)
        shoot->matchAutomatically();
    else if (matched)
        matched = shoot->matchLastRecord(*arguments.skew);
    if (!matched) {
        fprintf(stderr, "vesk-cli match: matching %s with %s gave no result; %s is not written\n",
                barcodeFile.c_str(), imageList.c_str(), out.c_str());
        return 1;
    }
    const BarcodeList& list = *shoot->tree();
    if (!writeNSArrayToMatchedListFile(out, &list, arguments.threeIDs)) {
        fprintf(stderr, "vesk-cli match: the matched list %s could not be written\n", out.c_str());
        return 1;
    }
    if (!arguments.report.empty() && !shoot->writeReport(arguments.report)) {
        fprintf(stderr, "vesk-cli match: the report %s could not be written\n", arguments.report.c_str());
        return 1;
    }
    if (automatic)
        printf("%zu photos matched to %zu barcodes (%s), written to %s\n", countPhotos(list), list.size(),
               shoot->summary().c_str(), out.c_str());
    else
        printf("%zu photos matched to %zu barcodes (skew %.2f seconds), written to %s\n", countPhotos(list),
               list.size(), *arguments.skew, out.c_str());
    // --skew alone keeps the command's output as it always was.
    if (shoot->estimate().uncertain && !arguments.align.empty())
        fprintf(stderr, "vesk-cli match: %s; check every photo\n", shoot->estimate().uncertainty.c_str());
    return 0;
}
