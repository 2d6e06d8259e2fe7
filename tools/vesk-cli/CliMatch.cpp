// vesk-cli match BARCODE_FILE IMAGE_LIST OUT --skew SECONDS [--two-ids]
//
// Matches a barcode data file with a photo list as the job does and writes the matched list, so
// that a shoot can be matched again with another skew without the scanner.
#include "CliCommands.h"

#include "MatchPhotos.h"
#include "MatchedListFile.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

const char kUsage[] = "usage: vesk-cli match BARCODE_FILE IMAGE_LIST OUT --skew SECONDS [--two-ids]\n";

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
    bool threeIDs = true;
};

// false after reporting a usage error.
bool parseArguments(int argc, char** argv, MatchArguments& arguments) {
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--two-ids") == 0) {
            arguments.threeIDs = false;
            continue;
        }
        if (std::strcmp(argv[i], "--skew") == 0) {
            if (i + 1 >= argc) {
                fprintf(stderr, "vesk-cli match: --skew needs a number of seconds\n%s", kUsage);
                return false;
            }
            arguments.skew = parseSkew(argv[++i]);
            if (!arguments.skew) {
                fprintf(stderr, "vesk-cli match: the skew \"%s\" is not a number of seconds\n%s", argv[i],
                        kUsage);
                return false;
            }
            continue;
        }
        if (std::strncmp(argv[i], "--", 2) == 0) {
            fprintf(stderr, "vesk-cli match: unknown option \"%s\"\n%s", argv[i], kUsage);
            return false;
        }
        arguments.files.push_back(argv[i]);
    }
    if (arguments.files.size() != 3) {
        fprintf(stderr, "vesk-cli match: expected BARCODE_FILE IMAGE_LIST OUT\n%s", kUsage);
        return false;
    }
    if (!arguments.skew) {
        fprintf(stderr, "vesk-cli match: --skew SECONDS is required\n%s", kUsage);
        return false;
    }
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

    std::unique_ptr<BarcodeList> list = MatchPhotos(barcodeFile, imageList, *arguments.skew);
    if (!list) {
        fprintf(stderr, "vesk-cli match: matching %s with %s gave no result; %s is not written\n",
                barcodeFile.c_str(), imageList.c_str(), out.c_str());
        return 1;
    }
    if (!writeNSArrayToMatchedListFile(out, list.get(), arguments.threeIDs)) {
        fprintf(stderr, "vesk-cli match: the matched list %s could not be written\n", out.c_str());
        return 1;
    }
    printf("%zu photos matched to %zu barcodes (skew %.2f seconds), written to %s\n", countPhotos(*list),
           list->size(), *arguments.skew, out.c_str());
    return 0;
}
