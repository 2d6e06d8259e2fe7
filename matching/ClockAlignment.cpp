#include "ClockAlignment.h"

#include <cmath>
#include <cstdio>

namespace {

bool sameClock(const BodyClock& a, const BodyClock& b) {
    return std::fabs(a.offset - b.offset) < 0.5 && std::fabs(a.driftPpm - b.driftPpm) < 0.5;
}

// "13 min 3 s behind the scanner, drift +40 ppm"
std::string describeBody(const BodyClock& body) {
    std::string text;
    if (std::fabs(body.offset) < 0.5)
        text = "in step with the scanner";
    else
        text = describeDuration(std::fabs(body.offset)) +
               (body.offset > 0 ? " behind the scanner" : " ahead of the scanner");
    const long drift = std::lround(body.driftPpm);
    if (drift != 0) {
        char figure[48];
        std::snprintf(figure, sizeof figure, ", drift %+ld ppm", drift);
        text += figure;
    }
    return text;
}

} // namespace

double ClockAlignment::aligned(double cameraSeconds, size_t body) const {
    if (body >= bodies.size())
        return bodies.empty() ? cameraSeconds : bodies.front().aligned(cameraSeconds);
    return bodies[body].aligned(cameraSeconds);
}

ClockAlignment ClockAlignment::shifted(double seconds) const {
    ClockAlignment moved = *this;
    for (BodyClock& body : moved.bodies)
        body.offset += seconds;
    return moved;
}

std::string describeDuration(double seconds) {
    long long total = std::llround(std::fabs(seconds));
    const long long days = total / 86400;
    const long long hours = total / 3600 % 24;
    const long long minutes = total / 60 % 60;
    const long long rest = total % 60;
    std::string text;
    auto add = [&](long long value, const char* unit) {
        if (value == 0)
            return;
        if (!text.empty())
            text += ' ';
        text += std::to_string(value) + unit;
    };
    add(days, days == 1 ? " day" : " days");
    add(hours, " h");
    add(minutes, " min");
    add(rest, " s");
    return text.empty() ? "0 s" : text;
}

std::string describeClocks(const ClockAlignment& alignment) {
    if (alignment.bodies.empty())
        return "no dated photo";
    bool oneClock = true;
    for (const BodyClock& body : alignment.bodies)
        oneClock = oneClock && sameClock(body, alignment.bodies.front());
    if (oneClock)
        return "camera " + describeBody(alignment.bodies.front());
    std::string text;
    for (const BodyClock& body : alignment.bodies) {
        if (!text.empty())
            text += "; ";
        text += "camera " + body.label + " " + describeBody(body);
    }
    return text;
}
