// How the camera clocks line up with the scanner's clock.
//
// A photo's aligned time is its capture time moved onto the scanner's clock: the capture time plus
// its camera body's offset, corrected for the body's drift (a cheap camera clock gains or loses a
// few seconds a day). Matching compares aligned times with scan times.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// One camera body's clock relative to the scanner's.
struct BodyClock {
    // The body as the photographer knows it: make, model and serial number when the camera list
    // names them, else the folder and file prefix of its photos ("DCIM/###NIKON/DSC_").
    std::string label;
    // Seconds added to the body's time at driftOrigin to give the scanner's time: positive when
    // the camera is behind the scanner.
    double offset = 0.0;
    // Parts per million by which the camera clock gains on the scanner's (negative: it loses).
    double driftPpm = 0.0;
    // The camera time at which the drift adds nothing (the middle of the body's photos).
    double driftOrigin = 0.0;
    // True when the offset was found from this body's photos alone; false when the body shares the
    // clock found for all photos (one body, or bodies whose clocks agree).
    bool ownClock = false;
    // The body's dated photos.
    size_t photos = 0;

    // The scanner time of a capture time of this body (seconds since 1970).
    double aligned(double cameraSeconds) const {
        return cameraSeconds + offset - driftPpm * 1e-6 * (cameraSeconds - driftOrigin);
    }
};

struct ClockAlignment {
    // One entry per camera body; photos name their body by index.
    std::vector<BodyClock> bodies;

    double aligned(double cameraSeconds, size_t body) const;
    // The same clocks with every body's offset moved by seconds (an offset control).
    ClockAlignment shifted(double seconds) const;
};

// "13 min 3 s", "2 h 5 min", "3 days 4 h", "0 s": a length of time, rounded to the second.
std::string describeDuration(double seconds);
// "camera 13 min 3 s behind the scanner, drift +40 ppm" for one body; for several bodies each is
// named ("NIKON D750 3012345 13 min 3 s behind the scanner; Canon EOS 5D 0123 2 h ahead of it").
std::string describeClocks(const ClockAlignment& alignment);
