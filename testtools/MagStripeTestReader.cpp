#include "MagStripeTestReader.h"

#include "AlertPanel.h"
#include "MessageLog.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

const char kMagStripeOutputFileName[] = "admFilteredData.csv";

namespace {

const char kTrackStart = '%';
const char kTrackEnd = '?';
const char kFieldSeparator = '^';
const char kCarriageReturn = '\r';

const char kChooserTitle[] = "Please Select MagStripeCardData.txt";

// TAB and "," are the delimiters the output may use; anything else becomes TAB.
char forceDelimiter(char delimiter) {
    if (delimiter == '\t' || delimiter == ',')
        return delimiter;
    myPrintfDebug("Had to force to tab delimiter?????????");
    return '\t';
}

// The character shown for a byte in the per-byte log lines: control bytes would break the log
// line they stand in, so they are shown as ".".
char shownChar(unsigned char byte) {
    return (byte >= 0x20 && byte < 0x7F) ? static_cast<char>(byte) : '.';
}

void reportFilteredByte(unsigned index, char byte) {
    unsigned char value = static_cast<unsigned char>(byte);
    myPrintfDebug(myFormat("myFilteredBuffer[%03u] = [0x%02x] = [%c]", index, value, shownChar(value)));
}

bool isTrackEnd(const char* raw, unsigned i, unsigned length) {
    return i + 1 < length && raw[i] == kTrackEnd && raw[i + 1] == kCarriageReturn;
}

// Exchanges the first two fields of output in place: field 2, the delimiter, field 1, the
// delimiter fill exactly the room that field 1, its delimiter, field 2 and its delimiter took.
short exchangeFirstTwoFields(char* output, char delimiter) {
    myPrintfDebug("Trying to Swap");
    char field1[kMagStripeFieldBufferSize] = {0};
    char field2[kMagStripeFieldBufferSize] = {0};
    unsigned length1 = 0;
    unsigned length2 = 0;
    bool found1 = getAField(output, field1, delimiter, length1);
    myPrintfDebug(myFormat("Field 1 = [%s] with length = [%u]", field1, length1));
    if (!found1) {
        myPrintfDebug(myFormat("The first field is longer than %u characters; the first two fields are left "
                               "as they are",
                               kMagStripeFieldLimit));
        return eMagStripeResult_NotExchanged;
    }
    bool found2 = getAField(output + length1 + 1, field2, delimiter, length2);
    myPrintfDebug(myFormat("Field 2 = [%s] with length = [%u]", field2, length2));
    if (!found2) {
        myPrintfDebug(myFormat("The second field is longer than %u characters (or has no delimiter); the "
                               "first two fields are left as they are",
                               kMagStripeFieldLimit));
        return eMagStripeResult_NotExchanged;
    }
    char* write = output;
    std::memcpy(write, field2, length2);
    write += length2;
    *write++ = delimiter;
    std::memcpy(write, field1, length1);
    write += length1;
    *write = delimiter;
    return eMagStripeResult_Success;
}

// Logs the capture's bytes line by line (lines end at CR or LF) before anything else is done with
// it, so that a developer sees exactly what the reader typed. Looks at fewer than 512 bytes.
void logCaptureCharacters(const char* path) {
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return;
    myPrintfDebug("sourceFile.is_open\n");
    char bytes[kMagStripeSourceLimit] = {0};
    size_t count = std::fread(bytes, 1, sizeof(bytes) - 1, file);
    int column = 0;
    for (size_t i = 0; i < count; ++i) {
        unsigned char byte = static_cast<unsigned char>(bytes[i]);
        myPrintfDebug(myFormat("char[%02i] = [0x%02x] = [\"%c\"]", column, byte, shownChar(byte)));
        ++column;
        if (byte == '\r' || byte == '\n')
            column = 0;
    }
    myPrintfDebug("Ready to close the source file...");
    std::fclose(file);
}

std::string currentFolder() {
    char buffer[PATH_MAX + 1] = {0};
    if (!getcwd(buffer, PATH_MAX))
        return ".";
    return buffer;
}

// Writes the output text (up to its terminator) to admFilteredData.csv in the current directory.
bool writeFilteredOutput(const char* output) {
    std::string target = currentFolder() + "/" + kMagStripeOutputFileName;
    FILE* file = std::fopen(kMagStripeOutputFileName, "wb");
    if (!file) {
        int error = errno;
        myPrintfDebug("CANNOT OUTPUT FILE?????...");
        myPrintf(myFormat("Cannot create %s - %s(%d).", target.c_str(), std::strerror(error), error));
        return false;
    }
    myPrintfDebug("Writing to file somewhere?????...");
    size_t length = std::strlen(output);
    bool written = std::fwrite(output, 1, length, file) == length;
    int error = errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written) {
        myPrintf(myFormat("Cannot write %s - %s(%d).", target.c_str(), std::strerror(error), error));
        return false;
    }
    myPrintfDebug(myFormat("Wrote %zu bytes to %s", length, target.c_str()));
    return true;
}

} // namespace

const char* magStripeResultText(short code) {
    switch (code) {
    case eMagStripeResult_Success:
        return "three tracks filtered, first two fields exchanged";
    case eMagStripeResult_RawTooLong:
        return "the raw text is longer than its given length";
    case eMagStripeResult_WrongTrackStarts:
        return "not three track starts";
    case eMagStripeResult_WrongTrackEnds:
        return "not three track ends";
    case eMagStripeResult_TooFewFields:
        return "too few fields";
    case eMagStripeResult_NotExchanged:
        return "a field too long to exchange";
    case eMagStripeResult_SourceUnreadable:
        return "the capture file cannot be read";
    case eMagStripeResult_SourceTooLarge:
        return "the capture file is too large";
    case eMagStripeResult_OutputNotWritten:
        return "the output file cannot be written";
    default:
        return "unknown result";
    }
}

bool getAField(const char* source, char* field, char delimiter, unsigned& length) {
    delimiter = forceDelimiter(delimiter);
    if (!source || !field) {
        myPrintfDebug("srcPtr && destPtr are NILL");
        return false;
    }
    myPrintfDebug("Preparing to swap");
    field[0] = '\0';
    // The field itself and the delimiter behind it.
    size_t limit = strnlen(source, kMagStripeFieldLimit + 1);
    if (limit == 0)
        myPrintfDebug("srcLength==0");
    for (size_t i = 0; i < limit; ++i) {
        if (source[i] == delimiter) {
            field[i] = '\0';
            myPrintfDebug("gotAField = true");
            length = static_cast<unsigned>(i);
            return true;
        }
        if (i == kMagStripeFieldLimit)
            break;
        field[i] = source[i];
        field[i + 1] = '\0';
        myPrintfDebug(myFormat("gotAField = %c", shownChar(static_cast<unsigned char>(source[i]))));
    }
    return false;
}

short filterTheRawMagStripeData(const char* raw, char* output, unsigned length, char delimiter) {
    if (!raw || !output) {
        myPrintfDebug("filterTheRawMagStripeData: no raw text or no output buffer");
        return eMagStripeResult_RawTooLong;
    }
    // Never looks past length + 1 bytes of raw, terminated or not.
    if (strnlen(raw, static_cast<size_t>(length) + 1) > length) {
        myPrintfDebug(myFormat("The raw text is longer than the given %u bytes", length));
        return eMagStripeResult_RawTooLong;
    }
    delimiter = forceDelimiter(delimiter);
    std::memset(output, 0, static_cast<size_t>(length) + kMagStripeOutputExtra);

    unsigned fieldCount = 0;
    unsigned startOfLineCount = 0;
    unsigned endOfLineCount = 0;
    unsigned written = 0;
    for (unsigned i = 0; i < length; ++i) {
        char byte = raw[i];
        if (byte == kFieldSeparator) {
            ++fieldCount;
            // A separator right before the track end leaves no trailing delimiter.
            if (i + 2 < length && isTrackEnd(raw, i + 1, length))
                continue;
            byte = delimiter;
        } else if (byte == kCarriageReturn) {
            continue;
        } else if (byte == kTrackStart) {
            ++startOfLineCount;
            continue;
        } else if (isTrackEnd(raw, i, length)) {
            ++endOfLineCount;
            ++i;
            continue;
        }
        reportFilteredByte(written, byte);
        output[written++] = byte;
    }
    reportFilteredByte(written, kCarriageReturn);
    output[written++] = kCarriageReturn;
    output[written] = '\0';
    myPrintfDebug(" DONE Filtering...");

    short code = eMagStripeResult_Success;
    if (startOfLineCount != kMagStripeRequiredTracks) {
        myPrintfDebug(myFormat("Got Number of startOfLineCount = [%02u] instead of the required [%u] lines",
                               startOfLineCount, kMagStripeRequiredTracks));
        code = eMagStripeResult_WrongTrackStarts;
    }
    if (endOfLineCount != kMagStripeRequiredTracks) {
        myPrintfDebug(myFormat("Got Number of endOfLineCount = [%02u] instead of the required [%u] lines",
                               endOfLineCount, kMagStripeRequiredTracks));
        code = eMagStripeResult_WrongTrackEnds;
    }
    if (fieldCount < kMagStripeRequiredFields) {
        myPrintfDebug(myFormat("Got Number of Fields = [%02u] instead of the required [%u] fields",
                               fieldCount, kMagStripeRequiredFields));
        code = eMagStripeResult_TooFewFields;
    }
    if (code != eMagStripeResult_Success)
        return code;
    return exchangeFirstTwoFields(output, delimiter);
}

short ReadTestMagStripeData(const char* path) {
    if (!path || !path[0]) {
        myPrintf("No magnetic-stripe capture file was given.");
        return eMagStripeResult_SourceUnreadable;
    }
    myPrintfDebug("\n\nInside ReadTestMagStripeData....\n");
    myPrintfDebug(path);
    myPrintfDebug("\n\n");
    logCaptureCharacters(path);

    FILE* file = std::fopen(path, "rb");
    if (!file) {
        int error = errno;
        myPrintf(myFormat("Cannot open the capture file %s - %s(%d).", path, std::strerror(error), error));
        return eMagStripeResult_SourceUnreadable;
    }
    struct stat status;
    if (fstat(fileno(file), &status) != 0 || !S_ISREG(status.st_mode)) {
        std::fclose(file);
        myPrintf(myFormat("The capture file %s is not a regular file.", path));
        return eMagStripeResult_SourceUnreadable;
    }
    if (status.st_size >= static_cast<off_t>(kMagStripeSourceLimit)) {
        std::fclose(file);
        myPrintfDebug(myFormat("SourceFileSize is = [%lld]", static_cast<long long>(status.st_size)));
        myPrintfDebug("WHAT?????...");
        myPrintf(
            myFormat("The capture file %s holds %lld bytes; a card capture must be shorter than %u bytes. "
                     "Nothing was written.",
                     path, static_cast<long long>(status.st_size), kMagStripeSourceLimit));
        return eMagStripeResult_SourceTooLarge;
    }

    // One byte more than a capture may hold, so the text is always terminated.
    char raw[kMagStripeSourceLimit] = {0};
    size_t count = std::fread(raw, 1, static_cast<size_t>(status.st_size), file);
    bool readFailed = std::ferror(file) != 0;
    int error = errno;
    std::fclose(file);
    if (readFailed) {
        myPrintf(myFormat("Cannot read the capture file %s - %s(%d).", path, std::strerror(error), error));
        return eMagStripeResult_SourceUnreadable;
    }

    char output[kMagStripeSourceLimit + kMagStripeOutputExtra] = {0};
    short code = filterTheRawMagStripeData(raw, output, static_cast<unsigned>(count), ',');
    if (!writeFilteredOutput(output))
        return eMagStripeResult_OutputNotWritten;
    myPrintf(myFormat("Filtered %s into %s/%s: result %d (%s).", path, currentFolder().c_str(),
                      kMagStripeOutputFileName, code, magStripeResultText(code)));
    return code;
}

bool doTestMagReader() {
    std::fputs("ibPickTestFolder - TESTING\n", stderr);
    std::string folder;
    const char* home = std::getenv("HOME");
    if (home && home[0])
        folder = std::string(home) + "/Desktop";
    std::optional<std::string> chosen = alertPrompt().chooseFile(kChooserTitle, folder);
    if (!chosen || chosen->empty())
        return false;
    ReadTestMagStripeData(chosen->c_str());
    return true;
}
