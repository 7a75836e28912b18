#pragma once
// The console's about page: the product line, the software version and the
// hardware ID, and a Save button that writes the same text with a time stamp
// to the USB stick ("about.txt", then "about(2).txt" and so on).
#include <QByteArray>
#include <QString>
#include <QWidget>

class KestromPushButton;
class QLabel;

namespace ToolsViewWidgets {

class SettingPageKit;

// One named software version, as a version line shows it.
class VersionEntry {
public:
    VersionEntry(const QByteArray& name, const QByteArray& secondName);

    const QByteArray& name() const { return mName; }
    const QByteArray& secondName() const { return mSecondName; }
    bool valid() const { return mValid; }
    const QByteArray& value() const { return mValue; }
    const QByteArray& valueSuffix() const { return mValueSuffix; }

    void setNames(const QByteArray& name, const QByteArray& secondName);
    void setValues(const QByteArray& value, const QByteArray& suffix);
    void clearValues();

private:
    QByteArray mName;
    QByteArray mSecondName;
    bool mValid = false;
    QByteArray mValue;
    QByteArray mValueSuffix;
};

class ToolsViewConsoleAbout : public QWidget {
    Q_OBJECT
public:
    explicit ToolsViewConsoleAbout(QWidget* parent = nullptr);

    // Product line, software line and hardware line, joined by "\r\n".
    static QString versionText();
    // "name: v1.23a" of a valid entry, else empty.
    static QString versionEntryText(const VersionEntry& entry);

signals:
    void goBack();
    void ShowHomeView(int id);

public slots:
    void saveInfo();
    void handleButtonBarPressed(int id);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    SettingPageKit* mKit;
    QLabel* mVersionLabel;
    KestromPushButton* mSaveButton;
};

}  // namespace ToolsViewWidgets
