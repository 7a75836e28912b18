// fieldconsole: the console program. Starts the platform and the process core,
// builds the main window and runs the GUI thread's event loop; "-u" runs the
// program's own unit tests instead.
#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest/doctest.h>

#include "cdebug.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "dsnvmem.h"
#include "filestore.h"
#include "guigeometry.h"
#include "languagemanager.h"
#include "mainwindow.h"
#include "nozimage.h"
#include "platform.h"
#include "processhooks.h"
#include "processinit.h"
#include "programend.h"
#include "screenshot.h"
#include "toolsviewconsoledisplay.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QSocketNotifier>
#include <QSplashScreen>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <iostream>
#include <unistd.h>

namespace {

bool unitTestRequested = false;

const char* const splashFile = "./images/boot_splash.bmp";
const char* const splashResource = ":/images/Velmar_console_v1_480x272.bmp";
constexpr int hvgaDisplay = 3;

void printUsage(const char* programName)
{
    std::cerr << "Usage: " << programName << " [<option>]*" << std::endl;
    std::cerr << "  Available options:" << std::endl;
    std::cerr << "   -h              Show this message" << std::endl;
    std::cerr << "   -u              enable the unittest framework" << std::endl;
    std::cerr << " " << std::endl;
}

int parseCommandLine(int argc, char** argv)
{
    opterr = 0;
    int option;
    while ((option = getopt(argc, argv, "hu")) != -1) {
        if (option == 'h') {
            printUsage(argv[0]);
            std::exit(0);
        }
        if (option == 'u') {
            unitTestRequested = true;
            break;
        }
    }
    return option;
}

bool isLogEnabled(CDebug& logger, const char* category, int level)
{
    return logger.passes(level, category);
}

int unitTest(int argc, char** argv)
{
    if (platformInit() != NO_PLATFORM_ERROR && isLogEnabled(CDebug::getInstance(), "cDefault", CDebugLevel::FAT))
        CDebug::getInstance().log(CDebugLevel::FAT, "cDefault", __LINE__, __FILE__, "unitTest",
                                  "reason( NO_PLATFORM_ERROR == platformError ) - ");
    CDebug::getInstance().clearCheckLoggingFile();
    CDebug::getInstance().logLevelsDefault();
    doctest::Context context;
    context.applyCommandLine(argc, argv);
    context.setOption("no-breaks", true);
    return context.run();
}

// SIGTERM and SIGINT end the event loop through a pipe, so that main writes the
// store to disk before the program ends.
int quitPipe[2] = {-1, -1};

void requestQuit(int)
{
    const char byte = 1;
    (void)!write(quitPipe[1], &byte, 1);
}

void installQuitSignals(QApplication& app)
{
    // Non-blocking: a burst of signals never blocks the handler; close-on-exec:
    // the commands the console runs do not inherit the pipe.
    if (pipe2(quitPipe, O_NONBLOCK | O_CLOEXEC) != 0)
        return;
    auto* notifier = new QSocketNotifier(quitPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [] {
        char byte;
        (void)!read(quitPipe[0], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = requestQuit;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

// Writes every changed parameter, the counters as they stand now, and waits for
// the file store to have it on disk.
void writeStore()
{
    datastoreRefreshAllNow();
    datastoreNvWriteDirty(0);
    filestoreDestroy();
}

std::string programName(const char* argv0)
{
    return QFileInfo(QString::fromLocal8Bit(argv0)).fileName().toStdString();
}

}  // namespace

int main(int argc, char** argv)
{
    parseCommandLine(argc, argv);
    QApplication app(argc, argv);
    // argv[0] may be gone from Qt's copy: keep the name for the last line.
    const std::string name = programName(argv[0]);

    QString splashPath;
    QPixmap splashPixmap;
    if (QFile::exists(QString::fromLatin1(splashFile))) {
        splashPath = QString::fromLatin1(splashFile);
    } else {
        guiInitResources();
        splashPath = QString::fromLatin1(splashResource);
    }
    splashPixmap.load(splashPath);
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "splash screen = %s", qPrintable(splashPath));
    QSplashScreen splash(splashPixmap);
    splash.show();
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "splash screen loaded");

    // The store calls these from its start-up, so they go in before platformInit.
    processRegisterStoreHooks();
    if (unitTestRequested)
        programEnd(unitTest(argc, argv));

    platformInit();
    processInit();
    GuiGeometry::setDesignType(hvgaDisplay);
    GuiGeometry::setDisplayType(hvgaDisplay);
    for (int i = 0; i < argc; ++i)
        if (qstrcmp(argv[i], "hideCursor") == 0)
            QApplication::setOverrideCursor(Qt::BlankCursor);
    KSNLanguageManager::LanguageManager::instance();
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", " ");
    installQuitSignals(app);

    MainWindow window(nullptr);
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "main window built");
    ToolsViewWidgets::ToolsViewConsoleDisplay::installSheetFont();
    QFile styleSheet(ToolsViewWidgets::ToolsViewConsoleDisplay::applyStoredStyle());
    if (styleSheet.open(QIODevice::ReadOnly))
        app.setStyleSheet(QString::fromLatin1(styleSheet.readAll()));
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "style sheet applied");
    window.show();
    splash.finish(&window);
    std::cout << "Init. Done - " << name << std::endl;

    const int result = app.exec();
    writeStore();
    programEnd(result);
}

// The program's own checks, run by "-u" on the board it starts on.
TEST_CASE("language identifiers map both ways")
{
    using KSNLanguageManager::LanguageManager;
    int languages = 0;
    for (int primary = 1; primary < 0x400; ++primary) {
        const QString code = LanguageManager::isoLanguageCode(primary);
        if (code.isEmpty())
            continue;
        ++languages;
        CHECK(LanguageManager::primaryLanguageId(code) == primary);
    }
    CHECK(languages == 68);
    CHECK(LanguageManager::subLanguageId(0x04, "CN") == 2);
    CHECK(LanguageManager::subLanguageId(0x0C, LanguageManager::isoCountryCode(0x0C, 3)) == 3);
}

TEST_CASE("the console's panel is 480 x 272")
{
    GuiGeometry::setDesignType(hvgaDisplay);
    GuiGeometry::setDisplayType(hvgaDisplay);
    CHECK(GuiGeometry::screenWidth() == 480);
    CHECK(GuiGeometry::screenHeight() == 272);
}

TEST_CASE("the parameter store answers after the platform start")
{
    CHECK(datastoreGetSize(DS_PAGE_MODE) == 2);
    CHECK(datastoreSetUint16(DS_PAGE_MODE, 4) == 0);
    CHECK(datastoreGetUint16(DS_PAGE_MODE) == 4);
}
