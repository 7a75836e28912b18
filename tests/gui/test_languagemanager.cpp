#include "datastore.h"
#include "dscatalogue.h"
#include "gui_test.h"
#include "languagemanager.h"
#include "sysroot.h"

#include <doctest/doctest.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

// The manager scans the program's directory once per process, so each scan
// case runs in a child copy of this program started in a directory of its own.
// The parent writes the .qm files there with lrelease, the child checks.

using KSNLanguageManager::LanguageManager;

namespace {

const char* const caseVariable = "LANGUAGE_TEST_CASE";

// A translation file naming its language as the language manager reads it.
bool writeTranslation(const QString& dir, const QString& fileName, const QString& languageName)
{
    const QString ts = dir + "/" + QString(fileName).replace(".qm", ".ts");
    QFile file(ts);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
                              "<TS version=\"2.1\"><context><name>LanguageManager</name><message>"
                              "<source>English - US</source>"
                              "<comment>This is the name of the current language. ie. Spanish for the Americas "
                              "would be Espanol - CA/SA.</comment>"
                              "<translation>%1</translation></message>"
                              "<message><source>Home</source><translation>%1 Home</translation></message>"
                              "</context></TS>\n")
                   .arg(languageName)
                   .toUtf8());
    file.close();
    return QProcess::execute("lrelease", {"-silent", ts, "-qm", dir + "/" + fileName}) == 0 &&
           QFile::remove(ts);
}

// Runs this test program again in dir (a copy of it there), for the one case.
int runCase(const QTemporaryDir& dir, const char* caseName, uint16_t storedLangId)
{
    const QString program = dir.path() + "/langtest";
    QFile::copy(QCoreApplication::applicationFilePath(), program);
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(caseVariable, caseName);
    env.insert("LANGUAGE_TEST_ID", QString::number(storedLangId));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(program, {"-tc=child*"});
    child.waitForFinished(60000);
    return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
}

bool inChild(const char* caseName)
{
    return qgetenv(caseVariable) == caseName;
}

void startChildStore()
{
    guiApplication();
    REQUIRE(datastoreInit(2) == 0);
    REQUIRE(datastoreSetUint16(DS_LANGUAGE_ID, uint16_t(qgetenv("LANGUAGE_TEST_ID").toUInt())) == 0);
}

}  // namespace

TEST_CASE("child: the stored British English is selected among three")
{
    if (!inChild("british"))
        return;
    startChildStore();
    LanguageManager& manager = LanguageManager::instance();
    REQUIRE(manager.languageCount() == 3);
    CHECK(manager.currentFile() == "ksnsprayer_en-GB.qm");
    CHECK(manager.currentLanguageName() == "English - GB");
    CHECK(manager.languageText(0) == "Deutsch");
    CHECK(manager.languageCode(0) == "de-DE");
    CHECK(QLocale().name() == "en_GB");
    CHECK(datastoreGetUint16(DS_LANGUAGE_ID) == 0x0809);
    CHECK(QCoreApplication::translate("LanguageManager", "Home") == "English - GB Home");

    // Another language: stored, the locale follows, signals in order.
    QSignalSpy before(&manager, &LanguageManager::aboutToChangeLanguage);
    QSignalSpy after(&manager, QOverload<int, int>::of(&LanguageManager::languageChanged));
    QSignalSpy plain(&manager, QOverload<>::of(&LanguageManager::languageChanged));
    manager.selectLanguage(0);
    CHECK(datastoreGetUint16(DS_LANGUAGE_ID) == 0x0407);
    CHECK(QLocale().name() == "de_DE");
    REQUIRE(before.count() == 1);
    CHECK(before.at(0) == QList<QVariant>{1, 0});
    REQUIRE(after.count() == 1);
    CHECK(after.at(0) == QList<QVariant>{1, 0});
    CHECK(plain.count() == 1);
    CHECK(QCoreApplication::translate("LanguageManager", "Home") == "Deutsch Home");

    // The language already current: nothing happens.
    manager.selectLanguage(0);
    CHECK(before.count() == 1);
    CHECK(plain.count() == 1);
}

TEST_CASE("child: a file that fails to load leaves the previous language current")
{
    if (!inChild("broken"))
        return;
    startChildStore();
    LanguageManager& manager = LanguageManager::instance();
    REQUIRE(manager.languageCount() == 2);
    REQUIRE(manager.file(0) == "ksnsprayer_en-US.qm");
    REQUIRE(manager.currentLanguage() == 0);
    // The French file is spoiled after the scan.
    const QString french = LanguageManager::applicationDirectory() + "/" + manager.file(1);
    QFile::copy(french, french + ".good");
    {
        QFile spoil(french);
        REQUIRE(spoil.open(QIODevice::WriteOnly | QIODevice::Truncate));
        spoil.write("not a translation");
    }
    QSignalSpy plain(&manager, QOverload<>::of(&LanguageManager::languageChanged));
    manager.selectLanguage(1);
    CHECK(manager.currentLanguage() == 0);
    CHECK(manager.currentFile() == "ksnsprayer_en-US.qm");
    CHECK(plain.count() == 0);
    CHECK(datastoreGetUint16(DS_LANGUAGE_ID) == 0x0409);
    CHECK(QCoreApplication::translate("LanguageManager", "Home") == "English - US Home");

    // Once the file is good again, the same selection is tried anew.
    QFile::remove(french);
    REQUIRE(QFile::rename(french + ".good", french));
    manager.selectLanguage(1);
    CHECK(manager.currentLanguage() == 1);
    CHECK(datastoreGetUint16(DS_LANGUAGE_ID) == 0x0C0C);
    CHECK(QLocale().name() == "fr_CA");
    CHECK(plain.count() == 1);
}

TEST_CASE("child: a stored language without its file falls back to US English")
{
    if (!inChild("fallback"))
        return;
    startChildStore();
    LanguageManager& manager = LanguageManager::instance();
    CHECK(manager.currentFile() == "ksnsprayer_en-US.qm");
    CHECK(datastoreGetUint16(DS_LANGUAGE_ID) == 0x0409);
}

TEST_CASE("child: a damaged file that sorts first does not block the good one after it")
{
    if (!inChild("damagedfirst"))
        return;
    startChildStore();
    LanguageManager& manager = LanguageManager::instance();
    REQUIRE(manager.languageCount() == 2);
    CHECK(manager.languageText(0).isEmpty());
    CHECK(manager.currentFile() == "ksnsprayer_de-DE.qm");
    CHECK(manager.currentLanguageName() == "Deutsch");
    CHECK(datastoreGetUint16(DS_LANGUAGE_ID) == 0x0407);
    CHECK(QCoreApplication::translate("LanguageManager", "Home") == "Deutsch Home");
}

TEST_CASE("child: a damaged stored language gives way to US English")
{
    if (!inChild("damagedwanted"))
        return;
    startChildStore();
    LanguageManager& manager = LanguageManager::instance();
    CHECK(manager.currentFile() == "ksnsprayer_en-US.qm");
    CHECK(datastoreGetUint16(DS_LANGUAGE_ID) == 0x0409);
}

TEST_CASE("child: when no file loads the built-in English is added and selected")
{
    if (!inChild("alldamaged"))
        return;
    startChildStore();
    LanguageManager& manager = LanguageManager::instance();
    REQUIRE(manager.languageCount() == 2);
    CHECK(manager.currentLanguage() == 1);
    CHECK(manager.currentLanguageName() == "English-US");
    CHECK(manager.currentFile().isEmpty());
    CHECK(QLocale().name() == "en_US");
    CHECK(datastoreGetUint16(DS_LANGUAGE_ID) == 0x0C0C);
}

TEST_CASE("child: without translation files the built-in English is the one language")
{
    if (!inChild("none"))
        return;
    startChildStore();
    LanguageManager& manager = LanguageManager::instance();
    CHECK(manager.languageCount() == 1);
    CHECK(manager.currentLanguage() == 0);
    CHECK(manager.currentLanguageName() == "English-US");
    CHECK(manager.currentFile().isEmpty());
    CHECK(manager.languageCode(0).isEmpty());
    CHECK(QLocale().name() == "en_US");
    CHECK(datastoreGetUint16(DS_LANGUAGE_ID) == 0x0C0C);
}

TEST_CASE("language scans on the stand-in directory")
{
    if (!qgetenv(caseVariable).isEmpty())
        return;
    guiApplication();
    struct Case {
        const char* name;
        uint16_t stored;
        std::vector<std::pair<const char*, const char*>> files;
    };
    const Case cases[] = {
        {"british", 0x0809,
         {{"ksnsprayer_de-DE.qm", "Deutsch"}, {"ksnsprayer_en-GB.qm", "English - GB"},
          {"ksnsprayer_en-US.qm", "English - US"}}},
        {"broken", 0x0409, {{"ksnsprayer_en-US.qm", "English - US"}, {"ksnsprayer_fr-CA.qm", "Francais - CA"}}},
        // English without a sublanguage looks for ksnsprayer_en.qm first.
        {"fallback", 0x0009, {{"ksnsprayer_de-DE.qm", "Deutsch"}, {"ksnsprayer_en-US.qm", "English - US"}}},
        {"none", 0x0C0C, {}},
        // A null name writes a file that is no translation.
        {"damagedfirst", 0x0C0C, {{"ksnsprayer_cs-CZ.qm", nullptr}, {"ksnsprayer_de-DE.qm", "Deutsch"}}},
        {"damagedwanted", 0x0407, {{"ksnsprayer_de-DE.qm", nullptr}, {"ksnsprayer_en-US.qm", "English - US"}}},
        {"alldamaged", 0x0C0C, {{"ksnsprayer_fr-CA.qm", nullptr}}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        QTemporaryDir dir(QString::fromStdString(sysrootDir()) + "/tmp/lang-XXXXXX");
        REQUIRE(dir.isValid());
        for (const auto& file : c.files) {
            if (file.second == nullptr) {
                QFile damaged(dir.path() + "/" + file.first);
                REQUIRE(damaged.open(QIODevice::WriteOnly));
                damaged.write("not a translation");
                continue;
            }
            REQUIRE(writeTranslation(dir.path(), file.first, file.second));
        }
        CHECK(runCase(dir, c.name, c.stored) == 0);
    }
}

TEST_CASE("identifier maps: LANGIDs of the files and their inverses")
{
    struct Case {
        const char* language;
        const char* country;
        int primary;
        int sub;
    };
    const Case cases[] = {
        {"en", "US", 0x09, 1}, {"en", "GB", 0x09, 2}, {"fr", "CA", 0x0C, 3}, {"de", "DE", 0x07, 1},
        {"hr", "", 0x1A, 0},   {"sr", "", 0x2E, 0},   {"ne", "", 0x61, 0},   {"ms", "BN", 0x3E, 2},
    };
    for (const Case& c : cases) {
        CAPTURE(c.language);
        CAPTURE(c.country);
        CHECK(LanguageManager::isoLanguageCode(c.primary) == c.language);
        CHECK(LanguageManager::primaryLanguageId(c.language) == c.primary);
        CHECK(LanguageManager::isoCountryCode(c.primary, c.sub) == c.country);
        if (c.sub != 0)
            CHECK(LanguageManager::subLanguageId(c.primary, c.country) == c.sub);
    }
    CHECK(LanguageManager::subLanguageId(0x04, "CN") == 2);
    CHECK(((LanguageManager::primaryLanguageId("zh") | LanguageManager::subLanguageId(0x04, "CN") << 10)) == 0x0804);
    CHECK(LanguageManager::isoCountryCode(0x0A, 3).isEmpty());
    CHECK(LanguageManager::isoCountryCode(0x09, 9).isEmpty());
    CHECK(LanguageManager::isoLanguageCode(0x17).isEmpty());
    CHECK(LanguageManager::primaryLanguageId("xx") == 0);
    CHECK(LanguageManager::subLanguageId(0x07, "US") == 0);
}
