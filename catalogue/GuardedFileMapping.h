// A read-only memory map of an open file that survives the file being cut short while it is read.
//
// Reading a mapped file past its end raises SIGBUS, which would end the program; a photo that a
// copy is still writing, or that another program truncates during the listing, must not. While a
// mapping is alive on a thread, a process-wide SIGBUS handler replaces the missing pages of that
// mapping with zero pages and notes it: the reader sees zeros (which the metadata library reports
// as a damaged file) and wasCutShort() tells the caller what happened. A SIGBUS anywhere else goes
// on to the handler that was there before, or to the default action.
#pragma once

#include <cstddef>

class GuardedFileMapping {
  public:
    // Maps length bytes of fd (which may be closed afterwards) and asks for the first
    // prefetchLength bytes to be read in one request; pages past them are read one at a time, as
    // the reader touches them, instead of the kernel's large read-ahead. One mapping per thread at
    // a time.
    GuardedFileMapping(int fd, size_t length, size_t prefetchLength);
    ~GuardedFileMapping();
    GuardedFileMapping(const GuardedFileMapping&) = delete;
    GuardedFileMapping& operator=(const GuardedFileMapping&) = delete;

    // Null when the file is empty or could not be mapped (errno tells why).
    const unsigned char* data() const { return fData; }
    size_t size() const { return fLength; }
    // True when the file turned out shorter than length while it was read.
    bool wasCutShort() const;

  private:
    const unsigned char* fData = nullptr;
    size_t fLength = 0;
};
