// VeskBarcode's command line: "VeskBarcode [OPTIONS] [FOLDER]", with --help and --version.
//
// Read in two passes. Before the application object exists, --help and --version are answered
// (so that they work without a display, as help2man and a package's smoke test run them). After
// QApplication has taken Qt's own options (-platform, -style, ...), the rest is read for real:
// a wrong option is a usage error (exit status 2).
#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>

class AppCommandLine {
  public:
    // The first pass over argv. Prints the help or the version to standard output when asked and
    // returns 0, or a usage error (an option that is neither ours nor Qt's) and returns 2; nothing
    // when the program goes on.
    static std::optional<int> answerHelpOrVersion(int argc, char** argv);

    // The second pass over the arguments left by QApplication (the program's name first). False
    // after a usage error has been printed to standard error; the exit status is then 2 (or 0 for
    // --help and --version, answered here too when Qt's options stood before them).
    bool parse(const QStringList& arguments);
    int exitStatus() const { return fExitStatus; }

    // The working folder as the bytes of the path (empty: none given) and how many further
    // arguments were given and are ignored.
    const QByteArray& folder() const { return fFolder; }
    bool hasFolder() const { return fHasFolder; }
    int ignoredArguments() const { return fIgnoredArguments; }

  private:
    QByteArray fFolder;
    bool fHasFolder = false;
    int fIgnoredArguments = 0;
    int fExitStatus = 0;
};
