// Every page of the console is built: no placeholder page is left in the GUI
// sources, neither a file of one nor a call that lays one out.
#include "source_tree.h"

#include <doctest/doctest.h>

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

TEST_CASE("no placeholder page is left in gui/")
{
    const QString top = sourceTop() + QStringLiteral("/gui");
    REQUIRE(QFileInfo(top + QStringLiteral("/guiarbitrator.cpp")).exists());
    const QRegularExpression placeholder(QStringLiteral("placeholder"), QRegularExpression::CaseInsensitiveOption);
    int sources = 0;
    QDirIterator it(top, {QStringLiteral("*.h"), QStringLiteral("*.cpp"), QStringLiteral("*.txt"),
                          QStringLiteral("*.qrc")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        CAPTURE(path.toStdString());
        ++sources;
        CHECK_FALSE(QFileInfo(path).fileName().contains(placeholder));
        QFile file(path);
        REQUIRE(file.open(QIODevice::ReadOnly));
        CHECK_FALSE(QString::fromUtf8(file.readAll()).contains(placeholder));
    }
    CHECK(sources > 100);
}
