// The file dates a photo falls back on when it carries no camera date.
//
// Behind an interface so that a test can feed dates the file system here cannot produce (a zero
// creation date, a file without any dates).
#pragma once

#include <ctime>
#include <optional>
#include <string>

struct FileDates {
    // The file's birth time; unset where the file system keeps none.
    std::optional<std::timespec> creation;
    std::timespec modification{};
};

struct statx;
// The dates statx gave for a file (asked with STATX_BTIME | STATX_MTIME).
FileDates fileDatesOf(const struct statx& attributes);

class FileDateAccess {
  public:
    virtual ~FileDateAccess() = default;
    // The dates of the file at path, following a symbolic link; none when it cannot be examined.
    virtual std::optional<FileDates> readFileDates(const std::string& path) const = 0;
    // Sets the file's creation date; false when that is not possible.
    virtual bool setCreationDate(const std::string& path, std::time_t date) const = 0;
};

// The real file system: birth time through statx. Linux offers no call that sets a birth time,
// so setCreationDate always fails.
class SystemFileDateAccess : public FileDateAccess {
  public:
    std::optional<FileDates> readFileDates(const std::string& path) const override;
    bool setCreationDate(const std::string& path, std::time_t date) const override;
};
