#pragma once
// The source tree of the program under test, for tests that read its sources.
// Header only.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QString>

// The repository's top. This file is tests/gui/source_tree.h. A compiler cache
// that rewrites paths below its base directory leaves __FILE__ relative to the
// compiler's working directory: the build tree's top, one above the test programs.
inline QString sourceTop()
{
    const QString self = QStringLiteral(__FILE__);
    const QFileInfo file = QFileInfo(self).isAbsolute()
                               ? QFileInfo(self)
                               : QFileInfo(QDir(QCoreApplication::applicationDirPath() + "/..").filePath(self));
    return QDir(file.absoluteDir().absoluteFilePath(QStringLiteral("../.."))).absolutePath();
}

// The console's English Linguist source, below the top.
inline QString englishTranslationSource()
{
    return sourceTop() + QStringLiteral("/gui/translations/ksnsprayer_en-US.ts");
}
