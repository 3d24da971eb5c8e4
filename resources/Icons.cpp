#include "resources/Icons.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QtMath>
#include <cstddef>
#include <iterator>
#include <mutex>

// Q_INIT_RESOURCE declares the function that rcc generated for brisko.qrc; the
// declaration must not land inside a namespace, hence this function at file level.
static void RegisterBriskoResources() {
    Q_INIT_RESOURCE(brisko);
}

// In a static library the linker drops the compiled-in resources unless something calls
// their registration, so every entry point below calls this first.
void InitBriskoResources() {
    static std::once_flag once;
    std::call_once(once, RegisterBriskoResources);
}

namespace {

struct IconEntry {
    IconId id;
    const char* themeName; // freedesktop name tried first; nullptr: always ours
    const char* file;      // our drawing, under :/icons
};

// "Copy to" and "Move to" are a pair and stay ours: edit-copy is the clipboard's copy,
// and the naming has nothing for a move. The folder tree, the favourite folder, the
// creator catalogue and install have no standard name. The list icons and the logo are
// ours by design (see the header).
constexpr IconEntry IconTable[] = {
    {IconId::CopyTo, nullptr, "copy-to.svg"},
    {IconId::MoveTo, nullptr, "move-to.svg"},
    {IconId::Install, nullptr, "install.svg"},
    {IconId::Delete, "edit-delete", "delete.svg"},
    {IconId::Refresh, "view-refresh", "refresh.svg"},
    {IconId::Favorites, "user-bookmarks", "favorites.svg"},
    {IconId::FavoriteAdd, "bookmark-new", "favorite-add.svg"},
    {IconId::FavoriteFolder, nullptr, "favorite-folder.svg"},
    {IconId::Folders, nullptr, "folders.svg"},
    {IconId::CreatorIds, nullptr, "creator-ids.svg"},
    {IconId::Options, "preferences-system", "options.svg"},
    {IconId::UpOneLevel, "go-up", "up-one-level.svg"},
    {IconId::Open, "document-open", "open.svg"},
    {IconId::HelpContents, "help-contents", "help-contents.svg"},
    {IconId::About, "help-about", "about.svg"},
    {IconId::Exit, "application-exit", "exit.svg"},
    {IconId::SelectAll, "edit-select-all", "select-all.svg"},
    {IconId::PalmFile, nullptr, "palm-file.svg"},
    {IconId::ZipArchive, nullptr, "zip-archive.svg"},
    {IconId::UnreadableFile, nullptr, "unreadable-file.svg"},
    {IconId::HeaderRow, nullptr, "header-row.svg"},
    {IconId::Brisko, nullptr, "brisko.svg"},
};

// The table and AllIconIds are indexed by the enum's value: both must list every id once,
// in declaration order.
constexpr bool TablesFollowTheEnum() {
    if (std::size(IconTable) != AllIconIds.size())
        return false;
    for (std::size_t i = 0; i < AllIconIds.size(); ++i) {
        if (static_cast<std::size_t>(AllIconIds[i]) != i || IconTable[i].id != AllIconIds[i])
            return false;
    }
    return static_cast<std::size_t>(IconId::Brisko) + 1 == AllIconIds.size();
}
static_assert(TablesFollowTheEnum(), "IconTable and AllIconIds must follow IconId");

const IconEntry& Entry(IconId id) {
    return IconTable[static_cast<std::size_t>(id)];
}

// List views ask for an icon per row and per repaint: each drawing is parsed once and
// its rendered sizes are kept by the icon. The cache is emptied when the application
// object goes away, so that no pixmap outlives it.
std::array<QIcon, AllIconIds.size()> OwnIconCache;
bool CacheCleanupRegistered = false;

void ClearOwnIconCache() {
    OwnIconCache.fill(QIcon());
    CacheCleanupRegistered = false;
}

// The arrow's tip is the pixel (1, 1) of both cursor drawings.
constexpr int CursorSize = 32;
constexpr int CursorHotSpot = 1;

} // namespace

QString IconResourcePath(IconId id) {
    return QStringLiteral(":/icons/") + QLatin1String(Entry(id).file);
}

QString IconThemeName(IconId id) {
    const char* name = Entry(id).themeName;
    return name ? QString(QLatin1String(name)) : QString();
}

QIcon BriskoOwnIcon(IconId id) {
    InitBriskoResources();
    QIcon& icon = OwnIconCache[static_cast<std::size_t>(id)];
    if (icon.isNull()) {
        if (!CacheCleanupRegistered) {
            qAddPostRoutine(ClearOwnIconCache);
            CacheCleanupRegistered = true;
        }
        icon = QIcon(IconResourcePath(id));
    }
    return icon;
}

QIcon BriskoIcon(IconId id) {
    const QIcon own = BriskoOwnIcon(id);
    const char* name = Entry(id).themeName;
    if (!name)
        return own;
    return QIcon::fromTheme(QLatin1String(name), own);
}

QCursor DragCursor(bool copy) {
    InitBriskoResources();
    // Drawn for the densest screen, so that the cursor is sharp there and keeps its
    // logical size everywhere.
    const qreal screenRatio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    const int pixels = qMax(CursorSize, qCeil(CursorSize * screenRatio));
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(copy ? QStringLiteral(":/cursors/drag-copy.svg")
                               : QStringLiteral(":/cursors/drag-move.svg"));
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(static_cast<qreal>(pixels) / CursorSize);
    return QCursor(pixmap, CursorHotSpot, CursorHotSpot);
}
