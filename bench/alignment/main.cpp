// Generated shoots of every family, written as the real list files and matched by the program:
// the share of photos on their own subject with the last-record rule (skew 36 s, the old factory
// setting) and with the automatic alignment, how often the automatic one says it is uncertain,
// and the precision and recall of its doubt marks against the truth.
//
// Usage: bench_alignment [SHOOTS_PER_FAMILY] [--cli PATH_TO_VESK_CLI] [--family NAME] [--skew S]
//   --cli  matches the last-record column with the real vesk-cli match (slower), as a check that
//          the figures are the command's own.
#include "Barcode.h"
#include "MessageLog.h"
#include "ShootMatch.h"
#include "ShootSimulator.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>
#include <unordered_map>

namespace {

struct Tally {
    size_t shoots = 0;
    size_t photos = 0;
    size_t withSubject = 0;
    size_t lastRight = 0;
    size_t autoRight = 0;
    size_t placeable = 0;
    size_t autoPlaceableRight = 0;
    size_t uncertain = 0;
    size_t uncertainWhenWrong = 0;
    size_t shootsWrong = 0;
    size_t marked = 0;
    size_t markedWrong = 0;
    size_t wrong = 0;

    void add(const Tally& o) {
        shoots += o.shoots;
        photos += o.photos;
        withSubject += o.withSubject;
        lastRight += o.lastRight;
        autoRight += o.autoRight;
        placeable += o.placeable;
        autoPlaceableRight += o.autoPlaceableRight;
        uncertain += o.uncertain;
        uncertainWhenWrong += o.uncertainWhenWrong;
        shootsWrong += o.shootsWrong;
        marked += o.marked;
        markedWrong += o.markedWrong;
        wrong += o.wrong;
    }
};

double percent(size_t part, size_t whole) {
    return whole == 0 ? 0.0 : 100.0 * double(part) / double(whole);
}

// The matched list vesk-cli wrote, read back as a tree of names under barcodes.
std::unique_ptr<BarcodeList> readMatchedList(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto tree = std::make_unique<BarcodeList>();
    std::unordered_map<std::string, Barcode*> nodes;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\r', start);
        if (end == std::string::npos)
            end = bytes.size();
        const std::string line = bytes.substr(start, end - start);
        start = end + 1;
        const size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        const size_t tab2 = line.find('\t', tab + 1);
        const std::string barcode = line.substr(tab + 1, tab2 - tab - 1);
        if (!nodes.count(barcode)) {
            tree->push_back(Barcode::barcodeWithValue(barcode));
            nodes[barcode] = tree->back().get();
        }
        nodes[barcode]->addObject(BarcodeImage::barcodeImageWithValue(line.substr(0, tab)));
    }
    return tree;
}

void printRow(const char* name, const Tally& t) {
    std::printf(
        "%-27s %5zu %7zu  %6.1f %%  %6.1f %%  %6.1f %%  %5.1f %%  %5.1f %%  %5.1f %%  %5.1f %%  %5.1f %%\n",
        name, t.shoots, t.photos, percent(t.lastRight, t.withSubject), percent(t.autoRight, t.withSubject),
        percent(t.autoPlaceableRight, t.placeable), percent(t.uncertain, t.shoots),
        percent(t.uncertainWhenWrong, t.shootsWrong), percent(t.marked, t.photos),
        percent(t.markedWrong, t.marked), percent(t.markedWrong, t.wrong));
}

} // namespace

int main(int argc, char** argv) {
    int shoots = 50;
    std::string cli;
    std::string only;
    float skew = 36.0f;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--cli") == 0 && i + 1 < argc)
            cli = argv[++i];
        else if (std::strcmp(argv[i], "--family") == 0 && i + 1 < argc)
            only = argv[++i];
        else if (std::strcmp(argv[i], "--skew") == 0 && i + 1 < argc)
            skew = std::strtof(argv[++i], nullptr);
        else
            shoots = std::atoi(argv[i]);
    }
    char pattern[] = "/tmp/vesk-bench-alignment-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string folder = std::string(pattern) + "/";
    const std::string data = folder + "BarcodeDataSource.txt";
    const std::string list = folder + "BarcodeImageList.txt";
    // The matcher's messages are not the figures.
    MessageLog::setSystemLogCopy(false);

    std::printf("%d shoots per family; last-record rule at a skew of %.0f s%s\n", shoots, double(skew),
                cli.empty() ? "" : " (run with vesk-cli match)");
    std::printf("%-27s %5s %7s  %8s  %8s  %8s  %7s  %7s  %7s  %7s  %7s\n", "family", "shoots", "photos",
                "last", "auto", "auto/pl", "uncert", "unc|wr", "marked", "prec", "recall");
    Tally ordinary;
    Tally all;
    for (const ShootFamilyInfo& info : shootFamilies()) {
        if (!only.empty() && only != info.name)
            continue;
        Tally tally;
        for (int s = 0; s < shoots; ++s) {
            const SimulatedShoot shoot = ShootSimulator::generate(info.family, uint64_t(s + 1));
            if (!shoot.write(folder, info.family == eShootFamily::SecondBodySameNames))
                return 1;
            std::unique_ptr<BarcodeList> lastTree;
            if (cli.empty()) {
                std::unique_ptr<ShootMatch> last = ShootMatch::read(data, list);
                if (last && last->matchLastRecord(skew))
                    lastTree = last->takeTree();
            } else {
                const std::string out = folder + "matched.txt";
                const std::string command = cli + " match " + data + " " + list + " " + out + " --skew " +
                                            std::to_string(skew) + " >/dev/null 2>&1";
                if (std::system(command.c_str()) == 0)
                    lastTree = readMatchedList(out);
            }
            std::unique_ptr<ShootMatch> automatic = ShootMatch::read(data, list);
            if (!lastTree || !automatic) {
                std::fprintf(stderr, "%s seed %d: no match\n", info.name, s + 1);
                continue;
            }
            automatic->matchAutomatically();
            const ShootScore lastScore = shoot.score(*lastTree);
            const ShootScore autoScore = shoot.score(*automatic->tree());
            Tally t;
            t.shoots = 1;
            t.photos = autoScore.photos;
            t.withSubject = autoScore.withSubject;
            t.lastRight = lastScore.right;
            t.autoRight = autoScore.right;
            t.placeable = autoScore.placeable;
            t.autoPlaceableRight = autoScore.placeableRight;
            t.uncertain = automatic->estimate().uncertain ? 1 : 0;
            t.shootsWrong = autoScore.placeableRight < autoScore.placeable ? 1 : 0;
            t.uncertainWhenWrong = t.shootsWrong && t.uncertain ? 1 : 0;
            std::vector<bool> marked(shoot.photos.size(), false);
            for (const auto& node : *automatic->tree())
                for (const auto& image : node->images())
                    if (image->isDoubtful())
                        marked[image->photoIndex()] = true;
            for (size_t i = 0; i < marked.size(); ++i) {
                t.marked += marked[i] ? 1 : 0;
                t.wrong += autoScore.misplaced[i] ? 1 : 0;
                t.markedWrong += marked[i] && autoScore.misplaced[i] ? 1 : 0;
            }
            tally.add(t);
            if (std::getenv("BENCH_VERBOSE")) {
                const ClockEstimate& e = automatic->estimate();
                std::printf("  %s seed %d: fit %zu/%zu runner-up %zu  %s right %zu/%zu placeable\n",
                            info.name, s + 1, e.scansFitting, e.scansTotal, e.runnerUpFitting,
                            e.uncertain ? "UNCERTAIN" : "certain", autoScore.placeableRight,
                            autoScore.placeable);
            }
        }
        printRow(info.name, tally);
        all.add(tally);
        if (info.ordinary)
            ordinary.add(tally);
    }
    printRow("(ordinary families)", ordinary);
    printRow("(all families)", all);
    std::printf(
        "\nlast, auto: photos of a scanned subject placed on it; auto/pl: of those a perfect alignment\n"
        "places right; uncert: shoots marked uncertain; unc|wr: of the shoots with a photo wrongly\n"
        "placed that a perfect alignment gets right; marked: photos with a doubt mark; prec: marked\n"
        "photos that are misplaced; recall: misplaced photos that are marked (a photo of no scanned\n"
        "subject always counts as misplaced).\n");
    std::system(("rm -rf '" + folder + "'").c_str());
    return 0;
}
