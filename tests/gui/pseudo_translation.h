#pragma once
// A pseudo-translation of the console's own Linguist source for the language
// tests: every text marked «so», its arguments kept, so that every text the
// sources give is covered without a translator's work; and the patterns that
// tell a shown text still in the sources' English. Header only.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <vector>

namespace pseudo {

const QString openMark = QStringLiteral("\u00ab");
const QString closeMark = QStringLiteral("\u00bb");

struct Message {
    QString context, source, comment;
};

inline std::vector<Message> readMessages(const QString& path)
{
    std::vector<Message> found;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return found;
    QXmlStreamReader xml(&file);
    Message m;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("name"))
            m.context = xml.readElementText();
        else if (xml.isStartElement() && xml.name() == QLatin1String("message"))
            m.source.clear(), m.comment.clear();
        else if (xml.isStartElement() && xml.name() == QLatin1String("source"))
            m.source = xml.readElementText();
        else if (xml.isStartElement() && xml.name() == QLatin1String("comment"))
            m.comment = xml.readElementText();
        else if (xml.isEndElement() && xml.name() == QLatin1String("message"))
            found.push_back(m);
    }
    return found;
}

// Every text marked, its arguments kept: "Filling %1" becomes "«Filling %1»".
inline bool writePseudoTranslation(const std::vector<Message>& messages, const QString& qm)
{
    const QString ts = QString(qm).replace(".qm", ".ts");
    QFile file(ts);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QXmlStreamWriter xml(&file);
    xml.writeStartDocument();
    xml.writeStartElement("TS");
    xml.writeAttribute("version", "2.1");
    xml.writeAttribute("language", "xx");
    for (const Message& m : messages) {
        xml.writeStartElement("context");
        xml.writeTextElement("name", m.context);
        xml.writeStartElement("message");
        xml.writeTextElement("source", m.source);
        if (!m.comment.isEmpty())
            xml.writeTextElement("comment", m.comment);
        xml.writeTextElement("translation", openMark + m.source + closeMark);
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    file.close();
    return QProcess::execute("lrelease", {"-silent", ts, "-qm", qm}) == 0;
}

// A text shown as the sources give it: the source with its arguments filled in.
// Sources without a letter of their own ("%1", digits) say nothing.
inline std::vector<QRegularExpression> englishPatterns(const std::vector<Message>& messages)
{
    std::vector<QRegularExpression> patterns;
    const QRegularExpression argument(QStringLiteral("%L?\\d"));
    const QRegularExpression letter(QStringLiteral("[A-Za-z]"));
    for (const Message& m : messages) {
        if (!QString(m.source).remove(argument).contains(letter))
            continue;
        QStringList parts;
        for (const QString& part : m.source.split(argument))
            parts << QRegularExpression::escape(part);
        patterns.emplace_back(QRegularExpression::anchoredPattern(parts.join(".*")));
    }
    return patterns;
}

}  // namespace pseudo
