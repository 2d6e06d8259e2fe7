#include "FileDateAccess.h"

#include <fcntl.h>
#include <sys/stat.h>

FileDates fileDatesOf(const struct statx& attributes) {
    FileDates dates;
    dates.modification.tv_sec = attributes.stx_mtime.tv_sec;
    dates.modification.tv_nsec = attributes.stx_mtime.tv_nsec;
    if (attributes.stx_mask & STATX_BTIME) {
        std::timespec birth{};
        birth.tv_sec = attributes.stx_btime.tv_sec;
        birth.tv_nsec = attributes.stx_btime.tv_nsec;
        dates.creation = birth;
    }
    return dates;
}

std::optional<FileDates> SystemFileDateAccess::readFileDates(const std::string& path) const {
    struct statx attributes {};
    if (statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME | STATX_MTIME, &attributes) != 0)
        return std::nullopt;
    return fileDatesOf(attributes);
}

bool SystemFileDateAccess::setCreationDate(const std::string&, std::time_t) const {
    return false;
}
