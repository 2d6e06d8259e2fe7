#include "AppCommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>

namespace {

const char kDescription[] =
    "Ties barcode scans to photographs. The host application (Vesk-X) starts VeskBarcode on the\n"
    "day's photo folder: VeskBarcode lists the photos with their capture times, downloads the\n"
    "scans stored in the Zebex PDx Pro scanner over its serial port, matches photos to scans by\n"
    "time, lets the photographer review the result, writes BarcodeImageList.txt,\n"
    "BarcodeDataSource.txt and BarcodeMatchedList.txt into the folder, and erases the scanner once\n"
    "the host confirms. A second start while one runs hands its folder to the running one.\n"
    "\n"
    "Environment: VESK_SERIAL_PORTS (device paths separated by ':', added to the ports found),\n"
    "VESK_UNATTENDED=1 with VESK_ANSWERS (answers every question without showing it),\n"
    "VESK_CLOCK_SPEEDUP=N (every pause N times shorter, for tests).\n"
    "The log VeskBarcodeLog.txt lies beside the program, or in $XDG_STATE_HOME/VeskBarcode\n"
    "where that folder is not writable; the five before it are kept as VeskBarcodeLog.txt.1 to .5.\n"
    "Preferences: $XDG_CONFIG_HOME/VeskBarcode/VeskBarcode.conf.";

const char kCopyright[] = "Copyright (C) 2026 VeskBarcode developers.\n"
                          "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
                          "This is free software: you are free to change and redistribute it.\n"
                          "There is NO WARRANTY, to the extent permitted by law.";

struct Options {
    QCommandLineOption help{{"h", "help"}, "Show this help and exit."};
    QCommandLineOption version{{"v", "version"}, "Show the version and exit."};
};

void describe(QCommandLineParser& parser, Options& options) {
    parser.setApplicationDescription(kDescription);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(options.help);
    parser.addOption(options.version);
    parser.addPositionalArgument("FOLDER", "The working folder of the job (a path in 7-bit ASCII).",
                                 "[FOLDER]");
}

void printHelp(const QCommandLineParser& parser) {
    // helpText() names the program from the application object, which may not exist yet.
    QString text = parser.helpText();
    text.replace("<executable_name>", "VeskBarcode");
    std::fputs(qPrintable(text), stdout);
}

void printVersion() {
    std::printf("VeskBarcode %s\n%s\n", qPrintable(QCoreApplication::applicationVersion()), kCopyright);
}

// The options that QGuiApplication and QApplication take for themselves (single dash).
bool isQtOption(const QString& name) {
    static const QStringList kQtOptions = {"platform",
                                           "platformpluginpath",
                                           "platformtheme",
                                           "plugin",
                                           "qwindowgeometry",
                                           "qwindowicon",
                                           "qwindowtitle",
                                           "reverse",
                                           "session",
                                           "display",
                                           "geometry",
                                           "style",
                                           "stylesheet",
                                           "widgetcount",
                                           "qmljsdebugger",
                                           "nograb",
                                           "dograb",
                                           "sync",
                                           "title",
                                           "name",
                                           "visual",
                                           "ncols",
                                           "cmap",
                                           "fn",
                                           "font",
                                           "bg",
                                           "background",
                                           "fg",
                                           "foreground",
                                           "btn",
                                           "button",
                                           "im",
                                           "inputstyle",
                                           "testability"};
    return kQtOptions.contains(name);
}

void printUsageError(const QString& error) {
    std::fprintf(stderr, "VeskBarcode: %s\nTry 'VeskBarcode --help' for more information.\n",
                 qPrintable(error));
}

QStringList argumentList(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace

std::optional<int> AppCommandLine::answerHelpOrVersion(int argc, char** argv) {
    QCommandLineParser parser;
    Options options;
    describe(parser, options);
    // An option this parser does not know may be one of Qt's, taken by the application object; any
    // other is a usage error, said before anything needs a display.
    if (!parser.parse(argumentList(argc, argv))) {
        for (const QString& name : parser.unknownOptionNames()) {
            if (isQtOption(name))
                continue;
            printUsageError(QString("Unknown option '%1'.").arg(name));
            return 2;
        }
        return std::nullopt;
    }
    if (parser.isSet(options.help)) {
        printHelp(parser);
        return 0;
    }
    if (parser.isSet(options.version)) {
        printVersion();
        return 0;
    }
    return std::nullopt;
}

bool AppCommandLine::parse(const QStringList& arguments) {
    QCommandLineParser parser;
    Options options;
    describe(parser, options);
    if (!parser.parse(arguments)) {
        printUsageError(parser.errorText());
        fExitStatus = 2;
        return false;
    }
    if (parser.isSet(options.help) || parser.isSet(options.version)) {
        if (parser.isSet(options.help))
            printHelp(parser);
        else
            printVersion();
        fExitStatus = 0;
        return false;
    }
    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return true;
    // The path's own bytes: a name that is not 7-bit ASCII is refused later, with 'err3'.
    fFolder = QFile::encodeName(positional.first());
    fHasFolder = true;
    fIgnoredArguments = int(positional.size()) - 1;
    return true;
}
