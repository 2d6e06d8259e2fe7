// Generates realistic shoots with their truth, family by family: the ordinary lines and sessions
// of a photographer's day and the hard cases (test shots, absent and unscanned subjects, a camera
// clock off by days or drifting, a second camera body, scans or photos past the other list's end,
// slow starts, cards scanned before the last photo of the subject before, tiny shoots).
//
// The same family and seed give the same shoot, so a test row names its shoot by the two.
#pragma once

#include "SimulatedShoot.h"

#include <cstdint>
#include <string>
#include <vector>

enum class eShootFamily {
    // A school line: a subject every 20 to 40 s, the first photo 3 to 15 s after the scan.
    SchoolLine,
    // A regular line: a subject every 32 s, the first photo 4 to 12 s after the scan.
    SchoolEvery32,
    // Subjects 15 to 25 s apart.
    FastLine,
    // Individual athletes in quick succession with bursts, and team photos.
    Sports,
    // Sessions of families or couples: many photos per subject, pauses to change the pose.
    Event,
    // A day of a school line, a lunch break, a sports session and an event session.
    MixedDay,
    // A school line with test shots of the backdrop before the first and after the last subject.
    TestShots,
    // The last card scanned but its subject absent (no photos).
    AbsentLast,
    // Absent subjects throughout the line (cards scanned, no photos).
    Absent,
    // Subjects photographed without their card being scanned.
    Unscanned,
    // A second camera body with its own clock, told apart by its folder and file prefix.
    SecondBody,
    // A second body of the same make, with the same folder and file names: only the side file of
    // camera bodies tells them apart (written with this family).
    SecondBodySameNames,
    // The camera clock days off and drifting.
    ClockDaysOff,
    // A camera clock drifting 20 to 300 ppm.
    Drift,
    // Cards scanned after the photos were copied (the data file ends later than the photos).
    ScanAfterPhotoDownload,
    // Photos taken after the scans were downloaded (the data file ends earlier than the photos).
    PhotosAfterScanDownload,
    // Slow starts: the first subjects photographed long after their scan.
    SlowStarts,
    // The next card scanned before the subject before's last photo.
    EarlyCards,
    // Subjects who come back at the end of the line: scanned again and photographed again.
    Retakes,
    // Bursts of frames within a second or two.
    Bursts,
    // A shoot of five subjects.
    FiveSubjects,
    // A mix of all the hard cases on a day of sessions.
    Everything,
};

struct ShootFamilyInfo {
    eShootFamily family;
    const char* name;
    // Whether the family is an ordinary shoot (nothing unusual), for the doubt-mark figures.
    bool ordinary;
};

// Every family with its name, in the order above.
const std::vector<ShootFamilyInfo>& shootFamilies();
const char* shootFamilyName(eShootFamily family);

class ShootSimulator {
  public:
    static SimulatedShoot generate(eShootFamily family, uint64_t seed);
};
