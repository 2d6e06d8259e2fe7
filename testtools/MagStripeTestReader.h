// The developer's test of a magnetic-stripe card reader that types a card's three tracks as text.
//
// A capture file (normally MagStripeCardData.txt) holds one card: each track starts with "%" and
// ends with "?" and CR, its fields are separated by "^". The filter drops the framing, turns the
// separators into a delimiter, checks that three whole tracks with enough fields came, exchanges
// the first two fields (card number and name) and ReadTestMagStripeData writes the result to
// admFilteredData.csv in the current directory.
#pragma once

extern const char kMagStripeOutputFileName[]; // "admFilteredData.csv"

constexpr unsigned kMagStripeSourceLimit = 512;   // a capture file holds fewer bytes than this
constexpr unsigned kMagStripeRequiredTracks = 3;  // track starts and track ends
constexpr unsigned kMagStripeRequiredFields = 21; // fewest field separators
constexpr unsigned kMagStripeFieldLimit = 20;     // the longest field the exchange handles
// A field buffer of getAField: the longest field and its terminator.
constexpr unsigned kMagStripeFieldBufferSize = kMagStripeFieldLimit + 1;
// The output of filterTheRawMagStripeData needs length + this many bytes: every input byte may be
// copied, then comes the closing CR and the terminator.
constexpr unsigned kMagStripeOutputExtra = 2;

// Result codes of the filter (0 and -1 .. -5) and of ReadTestMagStripeData (also -6 .. -8).
enum eMagStripeResult : short {
    eMagStripeResult_Success = 0,
    eMagStripeResult_RawTooLong = -1,       // the raw text is longer than the length given
    eMagStripeResult_WrongTrackStarts = -2, // not exactly 3 "%"
    eMagStripeResult_WrongTrackEnds = -3,   // not exactly 3 "?" + CR
    eMagStripeResult_TooFewFields = -4,     // fewer than 21 "^"
    eMagStripeResult_NotExchanged = -5,     // the first or second field is longer than 20
    eMagStripeResult_SourceUnreadable = -6, // missing, not a file, or a read error
    eMagStripeResult_SourceTooLarge = -7,   // 512 bytes or more
    eMagStripeResult_OutputNotWritten = -8, // admFilteredData.csv could not be written
};

// A short English description of a result code, for messages.
const char* magStripeResultText(short code);

// Filters length bytes of raw (NUL-terminated within length + 1 bytes) into output (which must hold length +
// kMagStripeOutputExtra bytes and ends up NUL-terminated). delimiter is TAB or ","; any other is replaced by
// TAB. When several checks fail the last one gives the code (-2, then -3, then -4). The first two fields are
// exchanged only when every check passed; when either of them is too long to exchange the output
// is left as filtered and the result is -5.
short filterTheRawMagStripeData(const char* raw, char* output, unsigned length, char delimiter);

// Copies the field at the start of source, up to the delimiter, into field (which must hold
// kMagStripeFieldBufferSize bytes and ends up NUL-terminated). Looks for the delimiter within the
// first kMagStripeFieldLimit + 1 characters (fewer when source is shorter). True, with length set
// to the field's character count, when the delimiter was found; otherwise false and length is left
// as it was. A delimiter other than TAB or "," is replaced by TAB.
bool getAField(const char* source, char* field, char delimiter, unsigned& length);

// Reads the capture file at path, filters it with the delimiter "," and writes the output text
// to admFilteredData.csv in the current directory, whatever the filter's code. A file that is
// missing, unreadable or 512 bytes or more is reported and no output is written. Returns the
// filter's code, or -6, -7 or -8.
short ReadTestMagStripeData(const char* path);

// The developer command: asks the installed alert prompt's file chooser for the capture file
// ("Please Select MagStripeCardData.txt", starting in ~/Desktop) and runs ReadTestMagStripeData.
// False when the user cancelled; otherwise true (the outcome is reported through the log).
bool doTestMagReader();
