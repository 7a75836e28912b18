#include "languagemanager.h"

#include "cdebug.h"
#include "datastore.h"
#include "dscatalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTranslator>

namespace KSNLanguageManager {

namespace {

const QString applicationName = QStringLiteral("ksnsprayer");
const QString defaultLanguageName = QStringLiteral("English-US");
const QString defaultLocaleCode = QStringLiteral("en-US");

struct LanguagePair {
    int primary;
    const char* code;
};

const LanguagePair languages[] = {
    {0x01, "ar"}, {0x02, "bg"}, {0x03, "ca"}, {0x04, "zh"}, {0x05, "cs"}, {0x06, "da"}, {0x07, "de"},
    {0x08, "el"}, {0x09, "en"}, {0x0A, "es"}, {0x0B, "fi"}, {0x0C, "fr"}, {0x0D, "he"}, {0x0E, "hu"},
    {0x0F, "is"}, {0x10, "it"}, {0x11, "ja"}, {0x12, "ko"}, {0x13, "nl"}, {0x14, "no"}, {0x15, "pl"},
    {0x16, "pt"}, {0x18, "ro"}, {0x19, "ru"}, {0x1A, "hr"}, {0x1B, "sk"}, {0x1C, "sq"}, {0x1D, "sv"},
    {0x1E, "th"}, {0x1F, "tr"}, {0x20, "ur"}, {0x21, "id"}, {0x22, "uk"}, {0x23, "be"}, {0x24, "sl"},
    {0x25, "et"}, {0x26, "lv"}, {0x27, "lt"}, {0x29, "fa"}, {0x2A, "vi"}, {0x2B, "hy"}, {0x2C, "az"},
    {0x2D, "eu"}, {0x2E, "sr"}, {0x2F, "mk"}, {0x36, "af"}, {0x37, "ka"}, {0x38, "fo"}, {0x39, "hi"},
    {0x3E, "ms"}, {0x3F, "kk"}, {0x41, "sw"}, {0x43, "uz"}, {0x44, "tt"}, {0x45, "bn"}, {0x46, "pa"},
    {0x47, "gu"}, {0x48, "or"}, {0x49, "ta"}, {0x4A, "te"}, {0x4B, "kn"}, {0x4C, "ml"}, {0x4D, "as"},
    {0x4E, "mr"}, {0x4F, "sa"}, {0x59, "sd"}, {0x60, "ks"}, {0x61, "ne"},
};

struct CountryPair {
    int primary;
    int sub;
    const char* country;
};

// Chinese sublanguages 1 and 2 both name CN; the inverse map gives 2.
const CountryPair countries[] = {
    {0x01, 1, "SA"},  {0x01, 2, "IQ"},  {0x01, 3, "EG"},  {0x01, 4, "LY"},  {0x01, 5, "DZ"},  {0x01, 6, "MA"},
    {0x01, 7, "TN"},  {0x01, 8, "OM"},  {0x01, 9, "YE"},  {0x01, 10, "SY"}, {0x01, 11, "JO"}, {0x01, 12, "LB"},
    {0x01, 13, "KW"}, {0x01, 14, "AE"}, {0x01, 15, "BH"}, {0x01, 16, "QA"}, {0x04, 1, "CN"},  {0x04, 2, "CN"},
    {0x04, 3, "HK"},  {0x04, 4, "SG"},  {0x04, 5, "MO"},  {0x07, 1, "DE"},  {0x07, 2, "CH"},  {0x07, 3, "AT"},
    {0x07, 4, "LU"},  {0x07, 5, "LI"},  {0x09, 1, "US"},  {0x09, 2, "GB"},  {0x09, 3, "AU"},  {0x09, 4, "CA"},
    {0x09, 5, "NZ"},  {0x09, 6, "IE"},  {0x09, 7, "ZA"},  {0x09, 8, "JM"},  {0x09, 10, "BZ"}, {0x09, 11, "TT"},
    {0x09, 12, "ZW"}, {0x09, 13, "PH"}, {0x0A, 1, "ES"},  {0x0A, 2, "MX"},  {0x0A, 4, "GT"},  {0x0A, 5, "CR"},
    {0x0A, 6, "PA"},  {0x0A, 7, "DO"},  {0x0A, 8, "VE"},  {0x0A, 9, "CO"},  {0x0A, 10, "PE"}, {0x0A, 11, "AR"},
    {0x0A, 12, "EC"}, {0x0A, 13, "CL"}, {0x0A, 14, "UY"}, {0x0A, 15, "PY"}, {0x0A, 16, "BO"}, {0x0A, 17, "SV"},
    {0x0A, 18, "HN"}, {0x0A, 19, "NI"}, {0x0A, 20, "PR"}, {0x0B, 1, "FI"},  {0x0C, 1, "FR"},  {0x0C, 2, "BE"},
    {0x0C, 3, "CA"},  {0x0C, 4, "CH"},  {0x0C, 5, "LU"},  {0x0C, 6, "MC"},  {0x10, 1, "IT"},  {0x10, 2, "CH"},
    {0x13, 1, "NL"},  {0x13, 2, "BE"},  {0x16, 1, "BR"},  {0x16, 2, "PT"},  {0x1D, 1, "SE"},  {0x1D, 2, "FI"},
    {0x20, 1, "PK"},  {0x20, 2, "IN"},  {0x3E, 1, "MY"},  {0x3E, 2, "BN"},
};

// The text every translation file renders as its language's own name.
QString languageNameIn(const QTranslator& translator)
{
    return translator.translate("LanguageManager", "English - US",
                                "This is the name of the current language. ie. Spanish for the Americas would be "
                                "Espanol - CA/SA.");
}

}  // namespace

LanguageManager& LanguageManager::instance()
{
    static LanguageManager manager;
    static const bool scanned = (manager.scanLanguages(), true);
    (void)scanned;
    return manager;
}

LanguageManager::LanguageManager()
{
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "Constructor");
}

LanguageManager::~LanguageManager()
{
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "Destructor");
}

int LanguageManager::languageCount() const { return names.size(); }
int LanguageManager::currentLanguage() const { return current; }
QString LanguageManager::currentLanguageName() const { return languageText(current); }
QString LanguageManager::currentFile() const { return file(current); }
QString LanguageManager::file(int n) const { return files.value(n); }
QString LanguageManager::languageText(int n) const { return names.value(n); }

QString LanguageManager::languageCode(int n) const
{
    const QString name = file(n);
    const int underscore = name.indexOf('_');
    if (underscore < 0)
        return QString();
    const int dot = name.indexOf('.', underscore + 1);
    return name.mid(underscore + 1, dot < 0 ? -1 : dot - underscore - 1);
}

QString LanguageManager::applicationDirectory()
{
    return QDir(QCoreApplication::applicationDirPath()).absolutePath();
}

QString LanguageManager::isoLanguageCode(int primary)
{
    for (const auto& pair : languages)
        if (pair.primary == primary)
            return QString::fromLatin1(pair.code);
    return QString();
}

QString LanguageManager::isoCountryCode(int primary, int sub)
{
    for (const auto& pair : countries)
        if (pair.primary == primary && pair.sub == sub)
            return QString::fromLatin1(pair.country);
    return QString();
}

int LanguageManager::primaryLanguageId(const QString& code)
{
    for (const auto& pair : languages)
        if (code == QLatin1String(pair.code))
            return pair.primary;
    return 0;
}

int LanguageManager::subLanguageId(int primary, const QString& country)
{
    int sub = 0;
    for (const auto& pair : countries)
        if (pair.primary == primary && country == QLatin1String(pair.country))
            sub = pair.sub;
    return sub;
}

void LanguageManager::scanLanguages()
{
    const QString directory = applicationDirectory();
    const QStringList found = QDir(directory).entryList(QStringList(applicationName + "_*.qm"), QDir::AllEntries,
                                                        QDir::Name | QDir::IgnoreCase);
    if (found.isEmpty()) {
        names = QStringList(defaultLanguageName);
        files = QStringList(QString());
        selectLanguage(0);
        return;
    }
    const unsigned langId = datastoreGetUint16(DS_LANGUAGE_ID);
    const int primary = int(langId & 0x3FF);
    const QString language = isoLanguageCode(primary);
    const QString country = isoCountryCode(primary, int(langId >> 10));
    const QString wanted = country.isEmpty() ? applicationName + QStringLiteral("_%1.qm").arg(language)
                                             : applicationName + QStringLiteral("_%1-%2.qm").arg(language, country);
    const QString fallback = applicationName + QStringLiteral("_en-US.qm");

    names.clear();
    files.clear();
    // Only a file that loads can be selected: a damaged one keeps its place in
    // the list (with an empty name) but never stands in the way of a good one.
    int wantedIndex = -1;
    int fallbackIndex = -1;
    int firstLoaded = -1;
    for (const QString& name : found) {
        QTranslator probe;
        const bool loads = probe.load(name, directory);
        if (!loads)
            CDEBUG_LOG(CDebugLevel::WAR, "cDefault", "translation %s does not load", qPrintable(name));
        names.append(loads ? languageNameIn(probe) : QString());
        files.append(name);
        const int index = files.size() - 1;
        if (loads && wantedIndex < 0 && name == wanted)
            wantedIndex = index;
        if (loads && fallbackIndex < 0 && name == fallback)
            fallbackIndex = index;
        if (loads && firstLoaded < 0)
            firstLoaded = index;
    }
    if (firstLoaded < 0) {
        // Not one file loads: the built-in English is the language to use.
        names.append(defaultLanguageName);
        files.append(QString());
        firstLoaded = files.size() - 1;
    }
    selectLanguage(wantedIndex >= 0 ? wantedIndex : fallbackIndex >= 0 ? fallbackIndex : firstLoaded);
}

void LanguageManager::selectLanguage(int n)
{
    if (n == current || n < 0 || n >= files.size())
        return;
    const QString name = files.at(n);
    QTranslator* loaded = nullptr;
    if (!name.isEmpty()) {
        loaded = new QTranslator(this);
        // A file that does not load leaves the language in use current, so
        // that a later selection of the same file tries again.
        if (!loaded->load(name, applicationDirectory())) {
            CDEBUG_LOG(CDebugLevel::WAR, "cDefault", "translation %s does not load", qPrintable(name));
            delete loaded;
            return;
        }
    }
    const int old = current;
    emit aboutToChangeLanguage(old, n);
    current = n;
    if (translator != nullptr) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
    if (loaded == nullptr) {
        QLocale::setDefault(QLocale(defaultLocaleCode));
        emit languageChanged();
        return;
    }
    translator = loaded;
    QCoreApplication::installTranslator(translator);
    storeChoice(name);
    emit languageChanged();
    emit languageChanged(old, n);
}

// Stores the LANGID named by the file and sets the matching default locale;
// a name without "_" names neither.
bool LanguageManager::storeChoice(const QString& fileName)
{
    const int underscore = fileName.indexOf('_');
    if (underscore < 0)
        return false;
    const int dot = fileName.indexOf('.', underscore + 1);
    const QString code = fileName.mid(underscore + 1, dot < 0 ? -1 : dot - underscore - 1);
    const int hyphen = code.indexOf('-');
    if (hyphen < 0) {
        datastoreSetUint16(DS_LANGUAGE_ID, uint16_t(primaryLanguageId(code)));
        QLocale::setDefault(QLocale(code));
        return true;
    }
    const QString language = code.left(hyphen);
    const QString country = code.mid(hyphen + 1);
    const int primary = primaryLanguageId(language);
    datastoreSetUint16(DS_LANGUAGE_ID, uint16_t((primary | subLanguageId(primary, country) << 10) & 0xFFFF));
    QLocale::setDefault(QLocale(language + "_" + country));
    return true;
}

}  // namespace KSNLanguageManager
