#pragma once
// The source tree of the program under test, for tests that read its sources.
// Header only.
#include <QString>

// The repository's top.
inline QString sourceTop()
{
    return QStringLiteral(CONSOLE_SOURCE_DIR);
}

// The console's English Linguist source, below the top.
inline QString englishTranslationSource()
{
    return sourceTop() + QStringLiteral("/gui/translations/ksnsprayer_en-US.ts");
}
