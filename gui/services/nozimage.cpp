#include "nozimage.h"

#include "cdebug.h"
#include "nozinfo.h"
#include "noztables.h"
#include "qtimagetools.h"

#include <QResource>

#include <cstdio>

void nozImageInitResources()
{
    guiWidgetsInitResources();
    Q_INIT_RESOURCE(nozimages);
}

namespace NozImage {

namespace {
const char* const kUnknownTip = ":/images/tip_unknown.svg";
}

NozzleImage::~NozzleImage() = default;

NozzleImage* NozzleImage::instance()
{
    static NozzleImage* const images = [] {
        nozImageInitResources();
        return new NozzleImage();
    }();
    return images;
}

QString NozzleImage::familyPrefix(int type)
{
    switch (type) {
    case 15:
        return QStringLiteral("tip_3H_");
    case 16:
        return QStringLiteral("tip_5H_");
    case 17:
        return QStringLiteral("tip_OrificePlate");
    default:
        return QString();
    }
}

QString NozzleImage::sizeColourName(int code)
{
    switch (code) {
    case 2: return QStringLiteral("orange");
    case 3: return QStringLiteral("green");
    case 4: return QStringLiteral("yellow");
    case 5: return QStringLiteral("purple");
    case 6: return QStringLiteral("blue");
    case 8: return QStringLiteral("red");
    case 9: return QStringLiteral("brown");
    case 10: return QStringLiteral("grey");
    case 11: return QStringLiteral("white");
    case 12: return QStringLiteral("lightblue");
    case 13: return QStringLiteral("lightgreen");
    case 14: return QStringLiteral("black");
    case 15: return QStringLiteral("beige");
    default: return QString();
    }
}

QString NozzleImage::imagePath(int type, int sizeIndex)
{
    QString path = QString::fromLatin1(kUnknownTip);
    const uint32_t family = type >= 0 ? nozzleTypeFamily(static_cast<uint32_t>(type)) : 0;
    if (family == 0) {
        const QString prefix = familyPrefix(type);
        const uint32_t code =
            type >= 0 && sizeIndex >= 0 ? nozinfoSizeCode(static_cast<uint32_t>(type), static_cast<uint32_t>(sizeIndex)) : 0;
        // A prefix ending in "_" names a family of coloured pictures; the orifice
        // plate has one picture for all its sizes.
        if (prefix.endsWith(QLatin1Char('_')))
            path = QStringLiteral(":/images/") + prefix + sizeColourName(static_cast<int>(code)) + QStringLiteral(".svg");
        else if (!prefix.isEmpty())
            path = QStringLiteral(":/images/") + prefix + QStringLiteral(".svg");
    } else {
        const NozzleCatalogueRecord* record =
            nozzleCatalogueRecord(nozzleFamilyFirstRecord(family) + static_cast<uint32_t>(sizeIndex < 0 ? 0 : sizeIndex));
        CDEBUG_LOG(CDebugLevel::DEB, "cTip", "%s", record->designation);
        path = QStringLiteral(":/imagelibrary/%1.svg").arg(QString::fromLatin1(record->designation));
    }
    if (!QResource(path, QLocale()).isValid()) {
        std::printf("NozzleImage:%s does not exist in resources!!!\n", path.toLatin1().constData());
        std::fflush(stdout);
        path = QString::fromLatin1(kUnknownTip);
    }
    return path;
}

QPixmap NozzleImage::getNozzleImage(int type, int sizeIndex, QSize size)
{
    return QtImageTools::loadPixmap(imagePath(type, sizeIndex), size, false, Qt::KeepAspectRatio);
}

}  // namespace NozImage
