#pragma once
// The console's languages: the translation files beside the program, the one
// installed, the default locale, and the choice kept in DS_LANGUAGE_ID as a
// Windows LANGID (primary language in bits 0-9, sublanguage in bits 10-15).
// GUI thread only.
#include <QObject>
#include <QString>
#include <QStringList>

class QTranslator;

namespace KSNLanguageManager {

class LanguageManager : public QObject {
    Q_OBJECT
public:
    // Built, scanned and set to the stored language on the first call.
    static LanguageManager& instance();
    ~LanguageManager() override;

    int languageCount() const;
    int currentLanguage() const;
    QString currentLanguageName() const;
    QString currentFile() const;
    QString file(int n) const;
    // Display name of language n; empty outside the list.
    QString languageText(int n) const;
    // "de-DE" of "ksnsprayer_de-DE.qm"; empty without "_".
    QString languageCode(int n) const;
    static QString applicationDirectory();

    static QString isoLanguageCode(int primary);
    static QString isoCountryCode(int primary, int sub);
    static int primaryLanguageId(const QString& code);
    static int subLanguageId(int primary, const QString& country);

signals:
    void aboutToChangeLanguage(int oldIndex, int newIndex);
    void languageChanged();
    void languageChanged(int oldIndex, int newIndex);

public slots:
    void selectLanguage(int n);

private:
    LanguageManager();
    void scanLanguages();
    bool storeChoice(const QString& fileName);

    QStringList names;
    QStringList files;
    int current = -1;
    QTranslator* translator = nullptr;
};

}  // namespace KSNLanguageManager
