// A fresh folder for one test under the temporary folder ($TMPDIR, else /tmp), removed with
// everything in it when the object goes, also where the test left parts of it read-only.
// VESK_KEEP_TEST_FOLDERS=1 keeps every such folder and prints its path, for a look after a failure.
#pragma once

#include <string>

namespace testsupport {

class TemporaryFolder {
  public:
    // The label goes into the folder's name ("vesk-<label>-XXXXXX"), so that a leftover says which
    // tests made it. Throws std::runtime_error when no folder can be made: no test can run then.
    explicit TemporaryFolder(const std::string& label = "test");
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    // The folder's path, ending in "/".
    const std::string& path() const { return fPath; }
    // The full path of relative ("name", "sub/folder/name"), with the folders above the entry it
    // names created ("sub/folder"); the entry itself is left to the test ("missing/" stays missing).
    std::string file(const std::string& relative) const;
    // Creates the subfolder relative (and those above it) and returns its path as a user would
    // give it, without a final "/".
    std::string makeFolder(const std::string& relative) const;
    // Writes bytes to the file relative and returns its full path.
    std::string write(const std::string& relative, const std::string& bytes) const;
    // Leaves the folder in place at the end and prints where it is.
    void keep() { fKept = true; }

  private:
    std::string fPath;
    bool fKept = false;
};

} // namespace testsupport
