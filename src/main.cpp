// SPDX-License-Identifier: MIT
// livrano: the painter's program. Everything happens in the screens library; this reads the
// command line, starts the application, runs start-up and hands over to the event loop.

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>

#include <algorithm>
#include <cstdio>

#include "app/program_folder.h"
#include "livrano_version.h"
#include "screens/desktop_identity.h"
#include "screens/first_start.h"
#include "screens/program.h"
#include "skin/design_font.h"

namespace {

struct CommandLine {
    QCommandLineParser parser;
    QCommandLineOption help{QStringList{"h", "help"}, "Print this help and exit."};
    QCommandLineOption version{QStringList{"v", "version"}, "Print the version and exit."};
    QCommandLineOption programFolder{
        "program-folder",
        "The program folder (default: LIVRANO_PROGRAM_FOLDER, else the executable's folder when it holds Data/airlines.cfg, else the one the last setup made; without any, the simulator's folder is asked for and set up).",
        "DIR"};

    CommandLine() {
        parser.setApplicationDescription(
            "Livrano turns a painted livery into a finished, installable repaint of a Flight Simulator aircraft.\nThe window's wizard collects the aircraft, template, variation, folder, tail number and callsign; Create builds the repaint.\nlivrano-cli does the same work without a window.");
        parser.addOptions({help, version, programFolder});
        // Qt's own options are single words after one dash ("-platform offscreen").
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    }

    // After a failed parse: says why, and gives the exit status of a usage mistake.
    int mistaken() const {
        std::fprintf(stderr, "livrano: %s\nRun \"livrano --help\" for its options.\n",
                     qPrintable(parser.errorText()));
        return 2;
    }

    // After a failed parse before the application exists: true when every option not known here
    // is one of those QGuiApplication and QApplication take, which are checked once they are out.
    bool onlyQtsOwn() const {
        static const QStringList qts{"platform",      "platformpluginpath",
                                     "platformtheme", "plugin",
                                     "qmljsdebugger", "qwindowgeometry",
                                     "qwindowicon",   "qwindowtitle",
                                     "reverse",       "session",
                                     "display",       "geometry",
                                     "name",          "title",
                                     "visual",        "ncols",
                                     "cmap",          "style",
                                     "stylesheet",    "widgetcount",
                                     "nograb",        "dograb",
                                     "sync"};
        const QStringList unknown = parser.unknownOptionNames();
        return !unknown.isEmpty() && std::all_of(unknown.begin(), unknown.end(),
                                                 [](const QString& name) { return qts.contains(name); });
    }

    // Answers --help and --version; true when the program ends here.
    bool answered() const {
        if (parser.isSet(help)) {
            // Read before any application object exists, the usage line has no program name yet.
            std::printf("%s", qPrintable(parser.helpText().replace("<executable_name>", "livrano")));
            return true;
        }
        if (parser.isSet(version)) {
            std::printf("livrano %s\n", LIVRANO_VERSION);
            return true;
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    // --help, --version and mistakes need no display, so they are answered before Qt opens one.
    // Qt's own options (-platform, -style...) are taken out by the application; the rest of the
    // command line is checked again then.
    {
        CommandLine early;
        QStringList arguments;
        for (int i = 0; i < argc; ++i)
            arguments << QString::fromLocal8Bit(argv[i]);
        if (early.parser.parse(arguments)) {
            if (early.answered())
                return 0;
        } else if (!early.onlyQtsOwn()) {
            return early.mistaken();
        }
    }
    livrano::useDevicePixels();
    QApplication application(argc, argv);
    CommandLine commandLine;
    if (!commandLine.parser.parse(QApplication::arguments()))
        return commandLine.mistaken();
    if (commandLine.answered())
        return 0;
    livrano::ensureDesignFont();
    const QString given = commandLine.parser.value(commandLine.programFolder);
    const std::filesystem::path executable = livrano::executableFolder(argv[0]);
    livrano::introduceToDesktop(executable);
    std::optional<std::filesystem::path> folder = livrano::findProgramFolder(
        given.isEmpty() ? std::nullopt
                        : std::optional(std::filesystem::path(QFile::encodeName(given).toStdString())),
        executable);
    const livrano::Desktop desktop = livrano::systemDesktop();
    if (!folder)
        folder = livrano::setUpOnFirstStart(executable, desktop);
    if (!folder)
        return 1;
    livrano::Program program(*folder, desktop, livrano::findSharedFiles(executable));
    if (!program.Main())
        return 1;
    return QApplication::exec();
}
