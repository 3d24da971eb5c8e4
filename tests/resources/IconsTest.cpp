// Runs under the shared GUI test entry, which creates the application on the offscreen
// platform.
#include "resources/Icons.h"

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QImage Rendered(const QIcon& icon, int size) {
    return icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool HasVisiblePixels(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return true;
    return false;
}

// The flat colour that the theme of the test below paints.
constexpr QRgb ThemeColour = qRgb(255, 0, 255);

std::string Name(IconId id) {
    return IconResourcePath(id).toStdString();
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

// A bitmap fallback (the SVG icon engine missing at run time) would stop at its loaded
// size instead of drawing the logo for a 256-pixel launcher.
TEST(BriskoIcon, EveryIconDrawsSomethingAtEverySize) {
    for (IconId id : AllIconIds)
        for (const QIcon& icon : {BriskoIcon(id), BriskoOwnIcon(id)})
            for (int size : {16, 32, 256}) {
                const QPixmap pixmap = icon.pixmap(QSize(size, size));
                EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(size, size))
                    << Name(id) << " at " << size;
                EXPECT_TRUE(HasVisiblePixels(pixmap.toImage())) << Name(id) << " at " << size;
            }
}

TEST(BriskoIcon, EachIdHasItsOwnValidDrawingOnThe32UnitGridAndNoneIsStray) {
    QStringList paths;
    for (IconId id : AllIconIds)
        paths << IconResourcePath(id);
    paths.sort();
    EXPECT_EQ(ResourceFiles(QStringLiteral(":/icons")), paths);
    for (const QString& file : paths + ResourceFiles(QStringLiteral(":/cursors"))) {
        QSvgRenderer renderer(file);
        EXPECT_TRUE(renderer.isValid()) << qPrintable(file);
        EXPECT_EQ(renderer.viewBox(), QRect(0, 0, 32, 32)) << qPrintable(file);
    }
}

// With a theme in a temporary folder, painted in one flat colour: the actions that the
// naming knows take the theme's icon, the others stay ours (the icons of the list and the
// logo by design); a theme without the icon leaves ours everywhere.
TEST(BriskoIcon, ActionsTakeTheThemesIconWhereItHasOneTheListAndTheLogoStayOurs) {
    QTemporaryDir folder;
    const QString savedName = QIcon::themeName();
    const QStringList savedPaths = QIcon::themeSearchPaths();
    const QStringList savedFallbackPaths = QIcon::fallbackSearchPaths();
    QIcon::setThemeSearchPaths({folder.path()});
    QIcon::setFallbackSearchPaths({});
    const auto useTheme = [&](const QString& theme, const QStringList& iconNames) {
        const QString root = folder.path() + QLatin1Char('/') + theme;
        QDir().mkpath(root + QStringLiteral("/16x16/actions"));
        QFile index(root + QStringLiteral("/index.theme"));
        ASSERT_TRUE(index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=Test\nDirectories=16x16/actions\n\n"
                    "[16x16/actions]\nSize=16\nType=Fixed\n");
        index.close();
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(ThemeColour);
        for (const QString& name : iconNames)
            ASSERT_TRUE(image.save(root + QStringLiteral("/16x16/actions/") + name +
                                   QStringLiteral(".png")));
        QIcon::setThemeName(theme);
    };

    QStringList names;
    for (IconId id : AllIconIds)
        if (!IconThemeName(id).isEmpty())
            names << IconThemeName(id);
    useTheme(QStringLiteral("complete"), names);
    for (IconId id : AllIconIds) {
        const QImage shown = Rendered(BriskoIcon(id), 16);
        if (IconThemeName(id).isEmpty())
            EXPECT_EQ(shown, Rendered(BriskoOwnIcon(id), 16)) << Name(id);
        else
            EXPECT_EQ(shown.pixel(8, 8), ThemeColour) << Name(id);
    }
    for (IconId id : {IconId::PalmFile, IconId::ZipArchive, IconId::UnreadableFile,
                      IconId::HeaderRow, IconId::Brisko})
        EXPECT_TRUE(IconThemeName(id).isEmpty()) << Name(id);

    useTheme(QStringLiteral("empty"), {QStringLiteral("unrelated-icon")});
    for (IconId id : AllIconIds)
        EXPECT_EQ(Rendered(BriskoIcon(id), 16), Rendered(BriskoOwnIcon(id), 16)) << Name(id);

    QIcon::setThemeSearchPaths(savedPaths);
    QIcon::setFallbackSearchPaths(savedFallbackPaths);
    QIcon::setThemeName(savedName);
}

TEST(DragCursor, BothCursorsAre32PixelsWithTheHotSpotOnTheArrowTip) {
    QImage images[2];
    for (bool copy : {false, true}) {
        const QCursor cursor = DragCursor(copy);
        EXPECT_EQ(cursor.pixmap().deviceIndependentSize(), QSizeF(32, 32)) << copy;
        // Judged in logical pixels, whatever the screen's scale.
        const QImage image = cursor.pixmap()
                                 .toImage()
                                 .scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                 .convertToFormat(QImage::Format_ARGB32);
        // The hot spot is where the drop lands: the arrow's tip, the top-left-most pixel
        // drawn (a fractional screen scale may bleed faintly into the pixels before it).
        const QPoint tip = cursor.hotSpot();
        EXPECT_GT(qAlpha(image.pixel(tip)), 128) << copy;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (x < tip.x() || y < tip.y()) {
                    ASSERT_LT(qAlpha(image.pixel(x, y)), 64) << copy << " " << x << "," << y;
                }
        images[copy ? 1 : 0] = image;
    }
    EXPECT_NE(images[0], images[1]) << "a copy must look different from a move";
}
