#include "gui_test.h"
#include "nozimage.h"
#include "nozinfo.h"
#include "noztables.h"
#include "test_capture.h"

#include <doctest/doctest.h>

#include <QResource>

#include <string>

namespace {

struct Images : WithGuiApplication {
    NozImage::NozzleImage* images = NozImage::NozzleImage::instance();

    // The path and what was printed on the way.
    std::pair<QString, std::string> resolve(int type, int size)
    {
        StdoutCapture capture(sysrootDir() + "/nozimage.out");
        const QString path = images->imagePath(type, size);
        return {path, capture.text()};
    }
};

}  // namespace

TEST_CASE("the size colour words and the family prefixes")
{
    const struct {
        int code;
        const char* word;
    } colours[] = {{0, ""},        {1, ""},         {2, "orange"},     {3, "green"},  {4, "yellow"},
                   {5, "purple"},  {6, "blue"},     {7, ""},           {8, "red"},    {9, "brown"},
                   {10, "grey"},   {11, "white"},   {12, "lightblue"}, {13, "lightgreen"},
                   {14, "black"},  {15, "beige"},   {16, ""},          {25, ""},      {-1, ""}};
    for (const auto& c : colours) {
        CAPTURE(c.code);
        CHECK(NozImage::NozzleImage::sizeColourName(c.code) == c.word);
    }
    CHECK(NozImage::NozzleImage::familyPrefix(15) == "tip_3H_");
    CHECK(NozImage::NozzleImage::familyPrefix(16) == "tip_5H_");
    CHECK(NozImage::NozzleImage::familyPrefix(17) == "tip_OrificePlate");
    for (int type : {0, 1, 2, 14, 18, 35, 36})
        CHECK(NozImage::NozzleImage::familyPrefix(type).isEmpty());
}

TEST_CASE("types without a drawing family: the unknown tip, the orifice plate, coloured stream nozzles")
{
    Images n;
    for (int type : {0, 1, 18}) {
        for (int size : {0, 1, 99}) {
            CAPTURE(type);
            CAPTURE(size);
            const auto r = n.resolve(type, size);
            CHECK(r.first == ":/images/tip_unknown.svg");
            CHECK(r.second.empty());
        }
    }
    for (uint32_t size = 0; size < nozinfoSizeCount(17) + 2; ++size) {
        CAPTURE(size);
        CHECK(n.resolve(17, static_cast<int>(size)).first == ":/images/tip_OrificePlate.svg");
    }
    for (int type : {15, 16}) {
        for (uint32_t size = 0; size < nozinfoSizeCount(static_cast<uint32_t>(type)); ++size) {
            CAPTURE(type);
            CAPTURE(size);
            const QString colour =
                NozImage::NozzleImage::sizeColourName(static_cast<int>(nozinfoSizeCode(static_cast<uint32_t>(type), size)));
            const auto r = n.resolve(type, static_cast<int>(size));
            if (!colour.isEmpty())
                CHECK(r.first == QString(":/images/") + NozImage::NozzleImage::familyPrefix(type) + colour + ".svg");
            else
                CHECK(r.first == ":/images/tip_unknown.svg");
        }
    }
}

TEST_CASE("a stream nozzle size without a colour reports the missing picture and draws the unknown tip")
{
    Images n;
    const int beyond = static_cast<int>(nozinfoSizeCount(15));
    const auto r = n.resolve(15, beyond);
    CHECK(r.first == ":/images/tip_unknown.svg");
    CHECK(r.second == "NozzleImage::/images/tip_3H_.svg does not exist in resources!!!\n");
}

TEST_CASE("catalogue types draw their model's drawing, and the library holds every model")
{
    Images n;
    for (uint32_t i = 0; i < nozzleCatalogueCount(); ++i) {
        const char* designation = nozzleCatalogueRecord(i)->designation;
        CAPTURE(designation);
        CHECK(QResource(QString(":/imagelibrary/%1.svg").arg(designation)).isValid());
    }
    int catalogueTypes = 0;
    for (uint32_t type = 0; type < NOZZLE_TYPE_COUNT; ++type) {
        const uint32_t family = nozzleTypeFamily(type);
        if (family == 0)
            continue;
        ++catalogueTypes;
        for (uint32_t size = 0; size < 3; ++size) {
            CAPTURE(type);
            CAPTURE(size);
            const NozzleCatalogueRecord* record = nozzleCatalogueRecord(nozzleFamilyFirstRecord(family) + size);
            const auto r = n.resolve(static_cast<int>(type), static_cast<int>(size));
            CHECK(r.first == QString(":/imagelibrary/%1.svg").arg(record->designation));
            CHECK(r.second.empty());
        }
    }
    CHECK(catalogueTypes > 0);
}

TEST_CASE("every size of every type has its own picture: only types 0, 1 and 18 show the unknown tip")
{
    Images n;
    for (uint32_t type = 0; type < NOZZLE_TYPE_COUNT; ++type) {
        for (uint32_t size = 0; size < nozinfoSizeCount(type); ++size) {
            CAPTURE(type);
            CAPTURE(size);
            const auto r = n.resolve(static_cast<int>(type), static_cast<int>(size));
            CHECK(r.second.empty());
            if (type == 0 || type == 1 || type == NOZZLE_USER_TIP_TYPE)
                CHECK(r.first == ":/images/tip_unknown.svg");
            else
                CHECK(r.first != ":/images/tip_unknown.svg");
            if (nozzleTypeFamily(type) != 0)
                CHECK(r.first.startsWith(":/imagelibrary/"));
        }
    }
}

TEST_CASE("stream nozzles are drawn in the colour of their capacity")
{
    Images n;
    const struct {
        int type;
        const char* size;
        const char* path;
    } cases[] = {{15, "01", ":/images/tip_3H_orange.svg"}, {15, "02", ":/images/tip_3H_yellow.svg"},
                 {15, "04", ":/images/tip_3H_red.svg"},    {16, "015", ":/images/tip_5H_green.svg"},
                 {16, "025", ":/images/tip_5H_purple.svg"}};
    for (const auto& c : cases) {
        CAPTURE(c.type);
        CAPTURE(c.size);
        int index = -1;
        for (uint32_t j = 0; j < nozinfoSizeCount(static_cast<uint32_t>(c.type)); ++j)
            if (std::string(nozinfoSizeName(static_cast<uint32_t>(c.type), j)) == c.size)
                index = static_cast<int>(j);
        REQUIRE(index >= 0);
        CHECK(n.resolve(c.type, index).first == c.path);
    }
}

TEST_CASE("the picture comes at the size asked for")
{
    Images n;
    const QPixmap tip = n.images->getNozzleImage(0, 0, QSize(65, 65));
    CHECK(tip.size() == QSize(65, 65));
    const QImage picture = tip.toImage();
    CHECK(picture.pixelColor(0, 0).alpha() == 0);      // transparent around the tip
    CHECK(picture.pixelColor(32, 40).alpha() == 255);  // the tip body
}
