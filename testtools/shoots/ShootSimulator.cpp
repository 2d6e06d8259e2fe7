#include "ShootSimulator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

namespace {

class Random {
  public:
    explicit Random(uint64_t seed) : fEngine(seed * 0x9E3779B97F4A7C15ull + 12345) {}
    double unit() { return double(fEngine() >> 11) * 0x1.0p-53; }
    double uniform(double low, double high) { return low + (high - low) * unit(); }
    // low to high, both included.
    int integer(int low, int high) { return low + int(unit() * double(high - low + 1)); }
    bool chance(double p) { return unit() < p; }
    double sign() { return chance(0.5) ? 1.0 : -1.0; }
    // An index drawn with the given weights.
    size_t pick(const std::vector<double>& weights) {
        double total = 0.0;
        for (double w : weights)
            total += w;
        double x = unit() * total;
        for (size_t i = 0; i < weights.size(); ++i) {
            if (x < weights[i])
                return i;
            x -= weights[i];
        }
        return weights.size() - 1;
    }

  private:
    std::mt19937_64 fEngine;
};

// How one kind of subject is photographed.
struct Style {
    // Scan to scan when the line keeps a pace (0: the pace follows the photos).
    double periodMin, periodMax;
    // Scan to first photo.
    double delayMin, delayMax;
    // Number of photos: weights of 1, 2, 3, ... photos.
    std::vector<double> countWeights;
    // Between photos.
    double gapMin, gapMax;
    // A burst replaces one photo by several frames a fraction of a second apart.
    double burstChance;
    int burstMin, burstMax;
    // A longer pause between two photos (a change of pose).
    double pauseChance, pauseMin, pauseMax;
    // Last photo to the next scan when there is no pace.
    double changeMin, changeMax;
};

std::vector<double> countsBetween(int low, int high) {
    std::vector<double> weights(size_t(high), 0.0);
    for (int n = low; n <= high; ++n)
        weights[size_t(n - 1)] = 1.0;
    return weights;
}

const Style kSchool{20, 40, 3, 15, {15, 35, 30, 15, 5}, 1, 5, 0.0, 0, 0, 0.0, 0, 0, 0, 0};
const Style kSchool32{31, 33, 4, 12, {15, 35, 30, 15, 5}, 1, 4, 0.0, 0, 0, 0.0, 0, 0, 0, 0};
const Style kFast{15, 25, 3, 8, {40, 40, 20}, 1, 3, 0.0, 0, 0, 0.0, 0, 0, 0, 0};
const Style kAthlete{15, 30, 2, 8, {30, 40, 30}, 1, 4, 0.5, 3, 8, 0.0, 0, 0, 0, 0};
const Style kBursts{20, 40, 3, 10, {30, 40, 30}, 1, 4, 0.9, 3, 10, 0.0, 0, 0, 0, 0};
const Style kTeam{0, 0, 10, 40, countsBetween(6, 15), 2, 10, 0.3, 3, 6, 0.05, 15, 40, 60, 180};
const Style kEvent{0, 0, 10, 60, countsBetween(5, 25), 2, 15, 0.1, 3, 5, 0.1, 20, 90, 30, 300};

// What is unusual about a shoot.
struct Hardships {
    int testShotsBefore = 0;
    int testShotsAfter = 0;
    double absentChance = 0.0;
    bool absentLast = false;
    double unscannedChance = 0.0;
    double doubleScanChance = 0.01;
    int scansAfterPhotos = 0;
    int subjectsAfterDataEnd = 0;
    int slowStarts = 0;
    double earlyCardChance = 0.0;
    int retakes = 0;
    bool secondBody = false;
    bool sameNames = false;
    bool daysOff = false;
    double driftMin = 0.0;
    double driftMax = 15.0;
};

struct Session {
    const Style* style;
    int subjects;
    // Pause before the session starts (after the one before).
    double breakBefore;
};

struct PendingPhoto {
    double trueTime;
    int body;
    std::string subject;
};

class Builder {
  public:
    Builder(eShootFamily family, uint64_t seed) : fRandom(seed), fFamily(family) {}

    SimulatedShoot build();

  private:
    void plan();
    void makeBodies();
    void shootSessions();
    void shootSubject(const Style& style, const std::string& barcode, int indexInSession, bool scanned,
                      bool lastOfShoot);
    int bodyFor(int photoOfSubject);
    void addScan(const std::string& barcode, double time);
    void addTestShots(double from, int count, double gapMin, double gapMax);
    void finish();
    std::string nextBarcode();

    Random fRandom;
    eShootFamily fFamily;
    Hardships fHard;
    std::vector<Session> fSessions;
    SimulatedShoot fShoot;
    std::vector<PendingPhoto> fPhotos;
    std::vector<std::pair<double, std::string>> fScans;
    std::vector<std::string> fPhotographed;
    double fClock = 0.0;
    double fStart = 0.0;
    double fLastPhoto = 0.0;
    int fBarcodeSerial = 0;
    int fSubjectsShot = 0;
    // How the second body is used: 0 alternate subjects, 1 a block of subjects, 2 within subjects.
    int fBodyUse = 0;
    int fBlockFrom = 0;
    int fBlockTo = 0;
    bool fSubjectOnSecond = false;
};

double cameraOffset(Random& random, bool daysOff) {
    if (daysOff)
        return random.sign() * (86400.0 * random.integer(1, 400) + random.uniform(0, 86400));
    switch (random.integer(0, 3)) {
    case 0:
        return random.uniform(-120, 120);
    case 1:
        return random.sign() * random.uniform(120, 3600);
    case 2:
        return random.sign() * random.uniform(3600, 12 * 3600);
    default:
        return random.sign() * (86400.0 * random.integer(1, 300) + random.uniform(0, 86400));
    }
}

void Builder::plan() {
    auto school = [&](int low, int high) { fSessions.push_back({&kSchool, fRandom.integer(low, high), 0}); };
    switch (fFamily) {
    case eShootFamily::SchoolLine:
        school(40, 150);
        break;
    case eShootFamily::SchoolEvery32:
        fSessions.push_back({&kSchool32, fRandom.integer(40, 150), 0});
        break;
    case eShootFamily::FastLine:
        fSessions.push_back({&kFast, fRandom.integer(40, 150), 0});
        break;
    case eShootFamily::Sports:
        fSessions.push_back({&kAthlete, fRandom.integer(30, 90), 0});
        fSessions.push_back({&kTeam, fRandom.integer(2, 6), fRandom.uniform(120, 900)});
        break;
    case eShootFamily::Event:
        fSessions.push_back({&kEvent, fRandom.integer(8, 30), 0});
        break;
    case eShootFamily::MixedDay:
    case eShootFamily::Everything:
        fSessions.push_back({&kSchool, fRandom.integer(40, 120), 0});
        fSessions.push_back({&kAthlete, fRandom.integer(20, 60), fRandom.uniform(1200, 3600)});
        fSessions.push_back({&kTeam, fRandom.integer(2, 5), fRandom.uniform(120, 600)});
        fSessions.push_back({&kEvent, fRandom.integer(4, 12), fRandom.uniform(600, 2400)});
        break;
    case eShootFamily::FiveSubjects:
        school(5, 5);
        break;
    case eShootFamily::Bursts:
        fSessions.push_back({&kBursts, fRandom.integer(30, 100), 0});
        break;
    default:
        school(40, 120);
        break;
    }

    switch (fFamily) {
    case eShootFamily::TestShots:
        fHard.testShotsBefore = fRandom.integer(2, 6);
        fHard.testShotsAfter = 3;
        break;
    case eShootFamily::AbsentLast:
        fHard.absentLast = true;
        break;
    case eShootFamily::Absent:
        fHard.absentChance = 0.08;
        break;
    case eShootFamily::Unscanned:
        fHard.unscannedChance = 0.05;
        break;
    case eShootFamily::SecondBody:
        fHard.secondBody = true;
        break;
    case eShootFamily::SecondBodySameNames:
        fHard.secondBody = true;
        fHard.sameNames = true;
        break;
    case eShootFamily::ClockDaysOff:
        fHard.daysOff = true;
        fHard.driftMin = 20;
        fHard.driftMax = 150;
        break;
    case eShootFamily::Drift:
        fHard.driftMin = 20;
        fHard.driftMax = 300;
        break;
    case eShootFamily::ScanAfterPhotoDownload:
        fHard.scansAfterPhotos = fRandom.integer(1, 3);
        break;
    case eShootFamily::PhotosAfterScanDownload:
        fHard.subjectsAfterDataEnd = fRandom.integer(2, 10);
        break;
    case eShootFamily::SlowStarts:
        fHard.slowStarts = fRandom.integer(1, 3);
        break;
    case eShootFamily::EarlyCards:
        fHard.earlyCardChance = 0.1;
        break;
    case eShootFamily::Retakes:
        fHard.retakes = fRandom.integer(1, 4);
        break;
    case eShootFamily::Everything:
        fHard.testShotsBefore = fRandom.chance(0.5) ? fRandom.integer(1, 5) : 0;
        fHard.testShotsAfter = fRandom.chance(0.5) ? fRandom.integer(1, 4) : 0;
        fHard.absentChance = fRandom.chance(0.5) ? 0.05 : 0.0;
        fHard.absentLast = fRandom.chance(0.3);
        fHard.unscannedChance = fRandom.chance(0.5) ? 0.03 : 0.0;
        fHard.scansAfterPhotos = fRandom.chance(0.2) ? fRandom.integer(1, 2) : 0;
        fHard.subjectsAfterDataEnd = fRandom.chance(0.2) ? fRandom.integer(1, 5) : 0;
        fHard.slowStarts = fRandom.chance(0.5) ? fRandom.integer(1, 2) : 0;
        fHard.earlyCardChance = fRandom.chance(0.5) ? 0.05 : 0.0;
        fHard.retakes = fRandom.chance(0.5) ? fRandom.integer(1, 3) : 0;
        fHard.secondBody = fRandom.chance(0.4);
        fHard.driftMin = 0;
        fHard.driftMax = fRandom.chance(0.5) ? 300 : 15;
        break;
    default:
        break;
    }
}

void Builder::makeBodies() {
    fStart = 1778572800.0 + 86400.0 * fRandom.integer(0, 200) + fRandom.uniform(7 * 3600, 10 * 3600);
    fClock = fStart;
    auto drift = [&]() { return fRandom.sign() * fRandom.uniform(fHard.driftMin, fHard.driftMax); };
    SimulatedBody main;
    main.exifBody = "NIKON CORPORATION NIKON D750 " + std::to_string(fRandom.integer(3000000, 3999999));
    main.topFolder = "DCIM/";
    main.dcfSuffix = "NIKON";
    main.filePrefix = "DSC_";
    main.offset = cameraOffset(fRandom, fHard.daysOff);
    main.driftPpm = drift();
    main.driftOrigin = fStart;
    fShoot.bodies.push_back(main);
    if (!fHard.secondBody)
        return;
    SimulatedBody second = main;
    if (fHard.sameNames) {
        second.exifBody = "NIKON CORPORATION NIKON D750 " + std::to_string(fRandom.integer(4000000, 4999999));
    } else if (fRandom.chance(0.5)) {
        second.exifBody = "Canon Canon EOS 5D Mark IV " + std::to_string(fRandom.integer(10000000, 99999999));
        second.dcfSuffix = "CANON";
        second.filePrefix = "IMG_";
    } else {
        second.exifBody = "NIKON CORPORATION NIKON D810 " + std::to_string(fRandom.integer(5000000, 5999999));
        fShoot.bodies[0].topFolder = "card1/DCIM/";
        second.topFolder = "card2/DCIM/";
    }
    const int kind = fRandom.integer(0, 9);
    if (kind < 5)
        second.offset = main.offset + fRandom.sign() * fRandom.uniform(20, 300);
    else if (kind < 8)
        second.offset = main.offset + fRandom.sign() * fRandom.uniform(300, 3600);
    else
        second.offset = main.offset + fRandom.sign() * fRandom.uniform(3600, 12 * 3600);
    second.driftPpm = drift();
    fShoot.bodies.push_back(second);
    fBodyUse = fRandom.integer(0, 2);
}

std::string Builder::nextBarcode() {
    char text[16];
    std::snprintf(text, sizeof text, "24%06d", 100000 + 7 * (++fBarcodeSerial) + fRandom.integer(0, 6));
    return text;
}

void Builder::addScan(const std::string& barcode, double time) {
    fScans.push_back({time, barcode});
}

int Builder::bodyFor(int photoOfSubject) {
    if (fShoot.bodies.size() < 2)
        return 0;
    switch (fBodyUse) {
    case 0:
        return fSubjectOnSecond ? 1 : 0;
    case 1:
        return fSubjectsShot >= fBlockFrom && fSubjectsShot < fBlockTo ? 1 : 0;
    default:
        return photoOfSubject > 0 && fSubjectOnSecond ? 1 : 0;
    }
}

void Builder::shootSubject(const Style& style, const std::string& barcode, int indexInSession, bool scanned,
                           bool lastOfShoot) {
    const double scanTime = fClock;
    if (scanned) {
        addScan(barcode, scanTime);
        if (fRandom.chance(fHard.doubleScanChance))
            addScan(barcode, scanTime + fRandom.uniform(0.5, 2.5));
    }
    const double period = style.periodMax > 0 ? fRandom.uniform(style.periodMin, style.periodMax) : 0.0;
    const bool absent =
        (lastOfShoot && fHard.absentLast) || (!lastOfShoot && scanned && fRandom.chance(fHard.absentChance));
    if (absent) {
        fClock = scanTime + (period > 0 ? fRandom.uniform(4, 12) : fRandom.uniform(10, 40));
        return;
    }
    fSubjectOnSecond = fRandom.chance(fBodyUse == 2 ? 0.4 : 0.35);
    double delay = fRandom.uniform(style.delayMin, style.delayMax);
    if (fSubjectsShot < fHard.slowStarts)
        delay = fRandom.uniform(40, 150);
    const int count = int(fRandom.pick(style.countWeights)) + 1;
    // In a paced line the photos are squeezed to leave the next subject a few seconds.
    double gapScale = 1.0;
    if (period > 0 && delay < period - 3) {
        const double room = period - 3 - delay;
        const double needed = (count - 1) * style.gapMax;
        if (needed > room)
            gapScale = room / needed;
    }
    double t = scanTime + delay;
    const std::string subject = scanned ? barcode : std::string();
    for (int n = 0; n < count; ++n) {
        if (n > 0) {
            t += fRandom.uniform(style.gapMin, style.gapMax) * gapScale;
            if (fRandom.chance(style.pauseChance))
                t += fRandom.uniform(style.pauseMin, style.pauseMax);
        }
        const int body = bodyFor(n);
        if (fRandom.chance(style.burstChance)) {
            const int frames = fRandom.integer(style.burstMin, style.burstMax);
            for (int f = 0; f < frames; ++f) {
                fPhotos.push_back({t, body, subject});
                t += fRandom.uniform(0.1, 0.4);
            }
        } else {
            fPhotos.push_back({t, body, subject});
        }
    }
    fLastPhoto = t;
    ++fSubjectsShot;
    if (scanned)
        fPhotographed.push_back(barcode);
    double next = period > 0 ? std::max(scanTime + period, t + fRandom.uniform(2, 5))
                             : t + fRandom.uniform(style.changeMin, style.changeMax);
    if (fRandom.chance(fHard.earlyCardChance))
        next = std::max(scanTime + 2.0, t - fRandom.uniform(1, 5));
    (void)indexInSession;
    fClock = next;
}

void Builder::addTestShots(double from, int count, double gapMin, double gapMax) {
    double t = from;
    for (int n = 0; n < count; ++n) {
        fPhotos.push_back({t, 0, std::string()});
        t += fRandom.uniform(gapMin, gapMax);
    }
}

void Builder::shootSessions() {
    int total = 0;
    for (const Session& session : fSessions)
        total += session.subjects;
    if (fHard.secondBody && fBodyUse == 1) {
        fBlockFrom = fRandom.integer(0, total / 2);
        fBlockTo = fBlockFrom + std::max(3, fRandom.integer(total / 5, total / 2));
    }
    if (fHard.testShotsBefore > 0)
        addTestShots(fStart - fRandom.uniform(120, 900), fHard.testShotsBefore, 5, 30);
    int shot = 0;
    for (const Session& session : fSessions) {
        fClock += session.breakBefore;
        for (int k = 0; k < session.subjects; ++k) {
            ++shot;
            const bool scanned = !fRandom.chance(fHard.unscannedChance) || shot == 1;
            shootSubject(*session.style, nextBarcode(), k, scanned, shot == total && fHard.retakes == 0);
        }
    }
    if (fHard.retakes > 0 && !fPhotographed.empty()) {
        fClock += fRandom.uniform(60, 600);
        for (int r = 0; r < fHard.retakes; ++r) {
            const std::string again =
                fPhotographed[size_t(fRandom.integer(0, int(fPhotographed.size()) - 1))];
            shootSubject(kSchool, again, r, true, r + 1 == fHard.retakes);
        }
    }
    if (fHard.testShotsAfter > 0)
        addTestShots(fLastPhoto + fRandom.uniform(60, 400), fHard.testShotsAfter, 3, 20);
    double end = fLastPhoto;
    for (int s = 0; s < fHard.scansAfterPhotos; ++s) {
        end += fRandom.uniform(300, 20 * 3600);
        addScan(nextBarcode(), end);
    }
}

void Builder::finish() {
    // Scans as the scanner stored them: its clock to the second, in the order they were made.
    std::stable_sort(fScans.begin(), fScans.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    // The last subjects' scans were downloaded before they were made: they are not in the file.
    if (fHard.subjectsAfterDataEnd > 0) {
        std::vector<std::string> dropped;
        size_t keep = fScans.size();
        int subjects = 0;
        while (keep > 1 && subjects < fHard.subjectsAfterDataEnd) {
            --keep;
            if (std::find(dropped.begin(), dropped.end(), fScans[keep].second) == dropped.end()) {
                dropped.push_back(fScans[keep].second);
                ++subjects;
            }
        }
        fScans.resize(keep);
        for (PendingPhoto& photo : fPhotos)
            if (std::find(dropped.begin(), dropped.end(), photo.subject) != dropped.end())
                photo.subject.clear();
    }
    for (const auto& scan : fScans)
        fShoot.scans.push_back({scan.second, (long long)std::floor(scan.first)});

    std::vector<int> counters;
    for (size_t b = 0; b < fShoot.bodies.size(); ++b)
        counters.push_back(fRandom.integer(1, 8000) + (fHard.sameNames && b > 0 ? 1 : 0));
    if (fHard.sameNames && counters.size() > 1)
        counters[1] = counters[0] + 5000 > 9999 ? counters[0] - 5000 : counters[0] + 5000;
    std::stable_sort(fPhotos.begin(), fPhotos.end(),
                     [](const PendingPhoto& a, const PendingPhoto& b) { return a.trueTime < b.trueTime; });
    for (const PendingPhoto& pending : fPhotos) {
        const SimulatedBody& body = fShoot.bodies[size_t(pending.body)];
        int& counter = counters[size_t(pending.body)];
        counter = counter % 9999 + 1;
        char name[128];
        std::snprintf(name, sizeof name, "%s%03d%s/%s%04d.JPG", body.topFolder.c_str(), 100 + counter / 700,
                      body.dcfSuffix.c_str(), body.filePrefix.c_str(), counter);
        SimulatedPhoto photo;
        photo.name = name;
        photo.trueTime = pending.trueTime;
        photo.body = pending.body;
        photo.subject = pending.subject;
        const double camera =
            pending.trueTime + body.offset + body.driftPpm * 1e-6 * (pending.trueTime - body.driftOrigin);
        photo.cameraTime = (long long)std::floor(camera);
        // The last scan before the photo on the scanner's clock decides where a perfect
        // alignment puts it.
        auto after =
            std::upper_bound(fShoot.scans.begin(), fShoot.scans.end(), pending.trueTime,
                             [](double t, const SimulatedScan& scan) { return t <= double(scan.time); });
        photo.placeable = !photo.subject.empty() && after != fShoot.scans.begin() &&
                          std::prev(after)->barcode == photo.subject;
        fShoot.photos.push_back(photo);
    }
    // The photo list orders by capture time, then by name.
    std::stable_sort(fShoot.photos.begin(), fShoot.photos.end(),
                     [](const SimulatedPhoto& a, const SimulatedPhoto& b) {
                         if (a.cameraTime != b.cameraTime)
                             return a.cameraTime < b.cameraTime;
                         return a.name < b.name;
                     });
}

SimulatedShoot Builder::build() {
    fShoot.family = shootFamilyName(fFamily);
    plan();
    makeBodies();
    shootSessions();
    finish();
    return fShoot;
}

} // namespace

const std::vector<ShootFamilyInfo>& shootFamilies() {
    static const std::vector<ShootFamilyInfo> kFamilies = {
        {eShootFamily::SchoolLine, "school-line", true},
        {eShootFamily::SchoolEvery32, "school-every-32s", true},
        {eShootFamily::FastLine, "subjects-15-25s-apart", true},
        {eShootFamily::Sports, "sports", true},
        {eShootFamily::Event, "event", true},
        {eShootFamily::MixedDay, "mixed-day", true},
        {eShootFamily::TestShots, "test-shots", false},
        {eShootFamily::AbsentLast, "absent-last-subject", false},
        {eShootFamily::Absent, "absent-subjects", false},
        {eShootFamily::Unscanned, "unscanned-subjects", false},
        {eShootFamily::SecondBody, "second-body", false},
        {eShootFamily::SecondBodySameNames, "second-body-same-names", false},
        {eShootFamily::ClockDaysOff, "clock-days-off", true},
        {eShootFamily::Drift, "drift-20-300ppm", true},
        {eShootFamily::ScanAfterPhotoDownload, "scan-after-photo-download", false},
        {eShootFamily::PhotosAfterScanDownload, "photos-after-scan-download", false},
        {eShootFamily::SlowStarts, "slow-starts", false},
        {eShootFamily::EarlyCards, "early-cards", false},
        {eShootFamily::Retakes, "retakes", false},
        {eShootFamily::Bursts, "bursts", true},
        {eShootFamily::FiveSubjects, "five-subjects", false},
        {eShootFamily::Everything, "everything", false},
    };
    return kFamilies;
}

const char* shootFamilyName(eShootFamily family) {
    for (const ShootFamilyInfo& info : shootFamilies())
        if (info.family == family)
            return info.name;
    return "unknown";
}

SimulatedShoot ShootSimulator::generate(eShootFamily family, uint64_t seed) {
    return Builder(family, seed).build();
}
