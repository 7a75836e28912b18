// The console's own English: its Linguist source lists every text of the
// sources, and the translation built from it names its language.
#include "gui_test.h"
#include "source_tree.h"
#include "sysroot.h"

#include <doctest/doctest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTranslator>
#include <QXmlStreamReader>

namespace {

// Every message of a .ts file as context, source and comment.
QSet<QString> messages(const QString& path)
{
    QSet<QString> found;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return found;
    QXmlStreamReader xml(&file);
    QString context, source, comment;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() && !xml.isEndElement())
            continue;
        const QStringRef name = xml.name();
        if (xml.isStartElement() && name == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.isStartElement() && name == QLatin1String("message"))
            source.clear(), comment.clear();
        else if (xml.isStartElement() && name == QLatin1String("source"))
            source = xml.readElementText();
        else if (xml.isStartElement() && name == QLatin1String("comment"))
            comment = xml.readElementText();
        else if (xml.isEndElement() && name == QLatin1String("message"))
            found.insert(context + " | " + source + " | " + comment);
    }
    return found;
}

}  // namespace

TEST_CASE("the English source is current: refreshing it from the sources adds and drops nothing")
{
    guiApplication();
    const QString original = englishTranslationSource();
    REQUIRE(QFileInfo::exists(original));
    const QString copy = QString::fromStdString(sysrootPath("/tmp/ksnsprayer_en-US.ts"));
    QDir().mkpath(QFileInfo(copy).absolutePath());
    REQUIRE(QFile::copy(original, copy));

    QProcess refresh;
    refresh.setProcessChannelMode(QProcess::ForwardedChannels);
    refresh.start(sourceTop() + "/scripts/update-translations", {copy});
    REQUIRE(refresh.waitForFinished(120000));
    REQUIRE(refresh.exitCode() == 0);

    const QSet<QString> before = messages(original);
    const QSet<QString> after = messages(copy);
    CHECK(before.size() > 50);
    INFO("run scripts/update-translations and commit " << original.toStdString());
    for (const QString& added : after - before)
        CHECK_MESSAGE(false, "text missing from the English source: " << added.toStdString());
    for (const QString& gone : before - after)
        CHECK_MESSAGE(false, "text no longer in the sources: " << gone.toStdString());
}

TEST_CASE("the English translation built beside the program names its language")
{
    guiApplication();
    const QString built = QDir(QCoreApplication::applicationDirPath() + "/..").absoluteFilePath("ksnsprayer_en-US.qm");
    QTranslator translator;
    REQUIRE(translator.load(built));
    CHECK(translator.translate("LanguageManager", "English - US",
                               "This is the name of the current language. ie. Spanish for the Americas would be "
                               "Espanol - CA/SA.") == "English - US");
}
