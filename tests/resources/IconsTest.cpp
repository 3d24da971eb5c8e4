// Runs under the shared GUI test entry, which creates the application on the offscreen
// platform.
#include "resources/Icons.h"

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QSet>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <cstddef>
#include <gtest/gtest.h>
#include <iterator>

namespace {

QImage Rendered(const QIcon& icon, int size) {
    return icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool HasVisiblePixels(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0)
                return true;
        }
    }
    return false;
}

// Whether the image is the flat test colour that the fake theme below paints.
bool IsThemeColour(const QImage& image) {
    return image.pixel(image.width() / 2, image.height() / 2) == qRgb(255, 0, 255);
}

const char* Name(IconId id) {
    static const char* const names[] = {
        "CopyTo",      "MoveTo",         "Install",   "Delete",     "Refresh",   "Favorites",
        "FavoriteAdd", "FavoriteFolder", "Folders",   "CreatorIds", "Options",   "UpOneLevel",
        "Open",        "HelpContents",   "About",     "Exit",       "SelectAll", "PalmFile",
        "ZipArchive",  "UnreadableFile", "HeaderRow", "Brisko"};
    static_assert(std::size(names) == AllIconIds.size());
    return names[static_cast<std::size_t>(id)];
}

QStringList ResourceFiles(const QString& folder) {
    InitBriskoResources();
    QStringList files;
    QDirIterator it(folder, QDir::Files);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

} // namespace

TEST(BriskoIcon, EveryIconDrawsSomethingAt16And32Pixels) {
    for (IconId id : AllIconIds) {
        for (const QIcon& icon : {BriskoIcon(id), BriskoOwnIcon(id)}) {
            ASSERT_FALSE(icon.isNull()) << Name(id);
            for (int size : {16, 32}) {
                const QPixmap pixmap = icon.pixmap(QSize(size, size));
                EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(size, size))
                    << Name(id) << " at " << size;
                EXPECT_TRUE(HasVisiblePixels(pixmap.toImage())) << Name(id) << " at " << size;
            }
        }
    }
}

TEST(BriskoIcon, OwnDrawingsScaleToEveryLauncherSize) {
    // A bitmap fallback (the SVG icon engine missing at run time) would stop at its
    // loaded size instead of drawing the logo for a 256-pixel launcher.
    for (IconId id : {IconId::Brisko, IconId::PalmFile}) {
        for (int size : {16, 24, 32, 48, 64, 128, 256}) {
            const QPixmap pixmap = BriskoIcon(id).pixmap(QSize(size, size));
            EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(size, size))
                << Name(id) << " at " << size;
        }
    }
}

TEST(BriskoIcon, EveryDrawingIsValidSvgOnThe32UnitGrid) {
    const QStringList files =
        ResourceFiles(QStringLiteral(":/icons")) + ResourceFiles(QStringLiteral(":/cursors"));
    ASSERT_EQ(files.size(), static_cast<qsizetype>(AllIconIds.size()) + 2);
    for (const QString& file : files) {
        QSvgRenderer renderer(file);
        EXPECT_TRUE(renderer.isValid()) << qPrintable(file);
        EXPECT_EQ(renderer.viewBox(), QRect(0, 0, 32, 32)) << qPrintable(file);
    }
}

TEST(BriskoIcon, EachIdHasItsOwnDrawingAndNoDrawingIsStray) {
    QSet<QString> paths;
    for (IconId id : AllIconIds) {
        const QString path = IconResourcePath(id);
        EXPECT_TRUE(QFile::exists(path)) << Name(id) << " " << qPrintable(path);
        EXPECT_FALSE(paths.contains(path)) << Name(id) << " shares " << qPrintable(path);
        paths.insert(path);
    }
    for (const QString& file : ResourceFiles(QStringLiteral(":/icons")))
        EXPECT_TRUE(paths.contains(file)) << qPrintable(file) << " belongs to no IconId";
}

// A throw-away icon theme in a temporary folder, painted in one flat colour, made the
// current theme for the test and put back afterwards.
class FakeTheme : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        savedName = QIcon::themeName();
        savedPaths = QIcon::themeSearchPaths();
        savedFallbackPaths = QIcon::fallbackSearchPaths();
        QIcon::setThemeSearchPaths({folder.path()});
        QIcon::setFallbackSearchPaths({});
    }
    void TearDown() override {
        QIcon::setThemeSearchPaths(savedPaths);
        QIcon::setFallbackSearchPaths(savedFallbackPaths);
        QIcon::setThemeName(savedName);
    }

    void UseTheme(const QString& theme, const QStringList& iconNames) {
        const QString root = folder.path() + QLatin1Char('/') + theme;
        QFile index(root + QStringLiteral("/index.theme"));
        ASSERT_TRUE(QDir().mkpath(root));
        ASSERT_TRUE(index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=Test\nDirectories=16x16/actions,32x32/actions\n\n"
                    "[16x16/actions]\nSize=16\nType=Fixed\n\n"
                    "[32x32/actions]\nSize=32\nType=Fixed\n");
        index.close();
        for (int size : {16, 32}) {
            const QString dir = root + QStringLiteral("/%1x%1/actions").arg(size);
            ASSERT_TRUE(QDir().mkpath(dir));
            QImage image(size, size, QImage::Format_ARGB32);
            image.fill(qRgb(255, 0, 255));
            for (const QString& name : iconNames)
                ASSERT_TRUE(image.save(dir + QLatin1Char('/') + name + QStringLiteral(".png")));
        }
        QIcon::setThemeName(theme);
    }

    QTemporaryDir folder;
    QString savedName;
    QStringList savedPaths;
    QStringList savedFallbackPaths;
};

TEST_F(FakeTheme, ActionsTakeTheThemesIconWhereTheNamingHasOne) {
    QStringList names;
    for (IconId id : AllIconIds) {
        if (!IconThemeName(id).isEmpty())
            names << IconThemeName(id);
    }
    ASSERT_FALSE(names.isEmpty());
    UseTheme(QStringLiteral("complete"), names);
    for (IconId id : AllIconIds) {
        for (int size : {16, 32}) {
            const QImage shown = Rendered(BriskoIcon(id), size);
            if (IconThemeName(id).isEmpty())
                EXPECT_EQ(shown, Rendered(BriskoOwnIcon(id), size)) << Name(id) << " at " << size;
            else
                EXPECT_TRUE(IsThemeColour(shown)) << Name(id) << " at " << size;
        }
    }
}

TEST_F(FakeTheme, OurDrawingStandsInWhereTheThemeLacksTheIcon) {
    UseTheme(QStringLiteral("empty"), {QStringLiteral("unrelated-icon")});
    for (IconId id : AllIconIds) {
        EXPECT_EQ(Rendered(BriskoIcon(id), 16), Rendered(BriskoOwnIcon(id), 16)) << Name(id);
        EXPECT_FALSE(BriskoIcon(id).isNull()) << Name(id);
    }
}

TEST_F(FakeTheme, ListIconsAndTheLogoStayOursWhateverTheThemeOffers) {
    // Names a desktop theme does have for such things; the file list and the database
    // information rows must look the same on every desktop all the same.
    const struct {
        IconId id;
        QStringList themeNames;
    } cases[] = {
        {IconId::PalmFile,
         {QStringLiteral("application-octet-stream"), QStringLiteral("text-x-generic"),
          QStringLiteral("application-x-executable"), QStringLiteral("unknown")}},
        {IconId::ZipArchive,
         {QStringLiteral("application-zip"), QStringLiteral("package-x-generic")}},
        {IconId::UnreadableFile,
         {QStringLiteral("dialog-warning"), QStringLiteral("image-missing")}},
        {IconId::HeaderRow,
         {QStringLiteral("document-properties"), QStringLiteral("dialog-information")}},
        {IconId::Brisko,
         {QStringLiteral("brisko"), QStringLiteral("pda"), QStringLiteral("system-file-manager")}},
    };
    QStringList names;
    for (const auto& c : cases)
        names << c.themeNames;
    UseTheme(QStringLiteral("lavish"), names);
    for (const auto& c : cases) {
        for (const QString& name : c.themeNames)
            ASSERT_TRUE(QIcon::hasThemeIcon(name)) << qPrintable(name);
        EXPECT_FALSE(IsThemeColour(Rendered(BriskoIcon(c.id), 16))) << Name(c.id);
        EXPECT_EQ(Rendered(BriskoIcon(c.id), 32), Rendered(BriskoOwnIcon(c.id), 32)) << Name(c.id);
    }
}

TEST(DragCursor, BothCursorsAre32PixelsWithTheHotSpotOnTheArrowTip) {
    QImage images[2];
    for (bool copy : {false, true}) {
        const QCursor cursor = DragCursor(copy);
        const QPixmap pixmap = cursor.pixmap();
        EXPECT_EQ(cursor.shape(), Qt::BitmapCursor) << copy;
        EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(32, 32)) << copy;
        // Judged in logical pixels, whatever the screen's scale.
        const QImage image = pixmap.toImage()
                                 .scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                 .convertToFormat(QImage::Format_ARGB32);
        ASSERT_TRUE(HasVisiblePixels(image)) << copy;
        // The hot spot is where the drop lands: the arrow's tip, the top-left-most pixel
        // drawn (a fractional screen scale may bleed faintly into the pixels before it).
        const QPoint tip = cursor.hotSpot();
        EXPECT_GT(qAlpha(image.pixel(tip)), 128) << copy;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (x < tip.x() || y < tip.y()) {
                    ASSERT_LT(qAlpha(image.pixel(x, y)), 64) << copy << " " << x << "," << y;
                }
            }
        }
        images[copy ? 1 : 0] = image;
    }
    EXPECT_NE(images[0], images[1]) << "a copy must look different from a move";
}
