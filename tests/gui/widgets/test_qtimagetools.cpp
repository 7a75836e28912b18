#include "qtimagetools.h"
#include "gui_test.h"
#include "test_capture.h"
#include "test_root.h"

#include <doctest/doctest.h>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QPixmapCache>

#include <string>
#include <unistd.h>

namespace {

// An empty working directory for the cache files, entered before the first load.
const std::string& workDir()
{
    static const std::string dir = [] {
        guiApplication();
        static TestRoot root;
        const std::string work = root.dir() + "/work";
        QDir().mkpath(QString::fromStdString(work));
        REQUIRE(chdir(work.c_str()) == 0);
        return work;
    }();
    return dir;
}

std::string writeFile(const std::string& name, const std::string& text)
{
    const std::string path = workDir() + "/" + name;
    REQUIRE(writeTextFile(path, text));
    return path;
}

const char* const kWideSvg =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"32\">"
    "<rect width=\"64\" height=\"32\" fill=\"#ff0000\"/></svg>";

}  // namespace

TEST_CASE("the cache file name encodes path, size and hard alpha")
{
    const QString base = QString::fromStdString(workDir()) + "/";
    CHECK(QtImageTools::cacheFileName(":/images/home.svg", QSize(40, 40), false) ==
          base + "-_images_home[40x40].png");
    CHECK(QtImageTools::cacheFileName(":/images/home.svg", QSize(40, 40), true) ==
          base + "-_images_home[40x40]A.png");
    CHECK(QtImageTools::cacheFileName(":/imagelibrary/a.SVG", QSize(5, 7), false) ==
          base + "-_imagelibrary_a.SVG[5x7].png");
}

TEST_CASE("a drawing is rendered once, kept as a PNG file and in memory, and read back from the file")
{
    const std::string file = workDir() + "/-_images_home[40x40].png";
    QPixmapCache::clear();
    QFile::remove(QString::fromStdString(file));

    std::string printed;
    {
        StdoutCapture capture(workDir() + "/first.out");
        const QPixmap first = QtImageTools::loadPixmap(":/images/home.svg", QSize(40, 40), false,
                                                       Qt::KeepAspectRatio);
        printed = capture.text();
        CHECK(first.size() == QSize(40, 40));
    }
    CHECK(printed == "Empty cache file: " + file + "\n");
    CHECK(QFile::exists(QString::fromStdString(file)));
    CHECK_FALSE(QFile::exists(QString::fromStdString(file + "~")));

    {
        StdoutCapture capture(workDir() + "/second.out");
        const QPixmap second = QtImageTools::loadPixmap(":/images/home.svg", QSize(40, 40), false,
                                                        Qt::KeepAspectRatio);
        CHECK(capture.text().empty());
        CHECK(second.size() == QSize(40, 40));
    }

    SUBCASE("a restart reads the file instead of rendering")
    {
        // A file that cannot come from the drawing proves where the picture came from.
        QImage marker(40, 40, QImage::Format_ARGB32);
        marker.fill(QColor(1, 2, 3));
        REQUIRE(marker.save(QString::fromStdString(file), "PNG"));
        std::string output;
        const int status = runInChild(
            [] {
                QPixmapCache::clear();
                const QImage loaded = QtImageTools::loadPixmap(":/images/home.svg", QSize(40, 40), false,
                                                               Qt::KeepAspectRatio)
                                          .toImage();
                return loaded.pixelColor(20, 20) == QColor(1, 2, 3) ? 0 : 1;
            },
            &output);
        CHECK(status == 0);
        CHECK(output.empty());
    }

    SUBCASE("an empty or damaged file is reported and rendered over")
    {
        const char* const contents[] = {"", "not a png"};
        for (const char* content : contents) {
            CAPTURE(content);
            REQUIRE(writeTextFile(file, content));
            QPixmapCache::clear();
            StdoutCapture capture(workDir() + "/damaged.out");
            const QPixmap pixmap = QtImageTools::loadPixmap(":/images/home.svg", QSize(40, 40), false,
                                                            Qt::KeepAspectRatio);
            const std::string text = capture.text();
            CHECK(!pixmap.isNull());
            CHECK((text.find("Empty cache file") != std::string::npos) == (content[0] == '\0'));
            QImage fromDisk;
            CHECK(fromDisk.load(QString::fromStdString(file), "PNG"));
        }
    }

    SUBCASE("another size gets its own file")
    {
        QtImageTools::loadPixmap(":/images/home.svg", QSize(50, 50), false, Qt::KeepAspectRatio);
        CHECK(QFile::exists(QString::fromStdString(workDir() + "/-_images_home[50x50].png")));
    }
}

TEST_CASE("the aspect mode decides the rendered size")
{
    const QString wide = QString::fromStdString(writeFile("wide.svg", kWideSvg));
    CHECK(QtImageTools::renderSvg(wide, QSize(40, 40), false, Qt::KeepAspectRatio).size() == QSize(40, 20));
    CHECK(QtImageTools::renderSvg(wide, QSize(40, 40), false, Qt::IgnoreAspectRatio).size() == QSize(40, 40));
    CHECK(QtImageTools::loadPixmap(wide, QSize(40, 40), false, Qt::KeepAspectRatio).size() == QSize(40, 20));
}

TEST_CASE("an invalid SVG: null from toPixmap, CouldNotLoadSvg from the loaders")
{
    const QString bad = QString::fromStdString(writeFile("bad.svg", "this is not a drawing"));
    QPixmapCache::clear();
    CHECK(QtImageTools::toPixmap(bad, QSize(40, 40), false, Qt::KeepAspectRatio).isNull());
    CHECK_THROWS_AS(QtImageTools::renderSvg(bad, QSize(40, 40), false, Qt::KeepAspectRatio),
                    QtImageTools::CouldNotLoadSvg);
    CHECK_THROWS_AS(QtImageTools::loadPixmap(bad, QSize(40, 40), false, Qt::KeepAspectRatio),
                    QtImageTools::CouldNotLoadSvg);
    CHECK(std::string(QtImageTools::CouldNotLoadSvg().what()) == "Could not load the SVG file");

    // Paths that are not SVG, or empty, give a null picture without throwing.
    CHECK(QtImageTools::renderSvg(QString(), QSize(4, 4), false, Qt::KeepAspectRatio).isNull());
    CHECK(QtImageTools::renderSvg("a.png", QSize(4, 4), false, Qt::KeepAspectRatio).isNull());
    CHECK(QtImageTools::loadPixmap(QString(), QSize(4, 4), false, Qt::KeepAspectRatio).isNull());
    CHECK(QtImageTools::toPixmap(QString::fromStdString(workDir() + "/missing.png"), QSize(4, 4), false,
                                 Qt::KeepAspectRatio)
              .isNull());
}

TEST_CASE("raster pictures are scaled but not kept on disk")
{
    QImage source(8, 4, QImage::Format_ARGB32);
    source.fill(QColor(10, 200, 30, 100));
    const std::string path = workDir() + "/raster.png";
    REQUIRE(source.save(QString::fromStdString(path), "PNG"));
    const QPixmap pixmap =
        QtImageTools::loadPixmap(QString::fromStdString(path), QSize(16, 16), true, Qt::KeepAspectRatio);
    CHECK(pixmap.size() == QSize(16, 8));
    CHECK(pixmap.toImage().pixelColor(3, 3).alpha() == 0);  // hard alpha: 100 < 128
    CHECK_FALSE(QFile::exists(QtImageTools::cacheFileName(QString::fromStdString(path), QSize(16, 16), true)));
}

TEST_CASE("hard alpha makes every pixel fully opaque or fully transparent")
{
    struct Case {
        int alpha, expected;
    };
    const Case cases[] = {{0, 0}, {1, 0}, {127, 0}, {128, 255}, {254, 255}, {255, 255}};
    QImage image(6, 1, QImage::Format_ARGB32);
    for (int i = 0; i < 6; ++i)
        image.setPixelColor(i, 0, QColor(200, 100, 50, cases[i].alpha));
    QtImageTools::binarizeAlpha(image);
    for (int i = 0; i < 6; ++i) {
        CAPTURE(cases[i].alpha);
        const QColor colour = image.pixelColor(i, 0);
        CHECK(colour.alpha() == cases[i].expected);
        if (cases[i].expected == 255)
            CHECK(colour == QColor(200, 100, 50));
    }
}
