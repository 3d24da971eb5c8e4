// The window's size, position and panel layout across restarts: what is stored comes
// back exactly, what cannot fit the screen is brought onto it, hidden panels keep theirs.
#include "WindowFixture.h"
#include "common/IniFile.h"

#include <QDockWidget>
#include <QScreen>
#include <algorithm>

namespace {

// The smallest screen the window is made for, less a desktop bar and the window's title.
constexpr int LaptopWidth = 1280;
constexpr int LaptopHeight = 720;
constexpr int DesktopBar = 32;
constexpr int TitleBar = 32;

class WindowLayout : public WindowFixture {
protected:
    void Settle() {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    void StartAndClose() {
        Start();
        Settle();
        Close();
    }
    QByteArray SavedFile() const { return Read(program.File(QStringLiteral("Brisko.ini"))); }
    QString Saved(const char* section, const char* key) const {
        IniFile ini(program.File(QStringLiteral("Brisko.ini")));
        EXPECT_TRUE(ini.Load());
        return ini.ReadString(QString::fromLatin1(section), QString::fromLatin1(key),
                              QStringLiteral("<none>"));
    }
    static QRect Available(const QWidget* window) { return window->screen()->availableGeometry(); }
    // The panels of a side of the window, from the top.
    QStringList PanelsFromTheTop(Qt::DockWidgetArea area) const {
        std::vector<QDockWidget*> docks;
        for (QDockWidget* dock : {w->TBXdpFolders, w->tbxdpGeneral, w->tbxdpDBInfo, w->tbxdpFlags})
            if (!dock->isFloating() && !dock->isHidden() && w->dockWidgetArea(dock) == area)
                docks.push_back(dock);
        std::sort(docks.begin(), docks.end(),
                  [](QDockWidget* a, QDockWidget* b) { return a->y() < b->y(); });
        QStringList names;
        for (QDockWidget* dock : docks)
            names << dock->objectName();
        return names;
    }
};

const char* const StoredLayout = "[Brisko]\n"
                                 "TreeViewVisible=0\n"
                                 "FileInfoDBVisible=0\n"
                                 "MainWindowWidth=760\n"
                                 "MainWindowHeight=540\n"
                                 "MainWindowX=24\n"
                                 "MainWindowY=52\n"
                                 "FoldersWidth=220\n"
                                 "[TBXdpFolders]\nRev=2000\nVisible=0\nDockedTo=Left\n"
                                 "DPDockedWidth=220\nDPDockedHeight=300\n"
                                 "[tbxdpDBInfo]\nRev=2000\nVisible=0\nDockedTo=Right\nDockRow=1\n"
                                 "DPDockedWidth=250\nDPDockedHeight=200\n"
                                 "[tbxdpFlags]\nRev=2000\nVisible=1\nDockedTo=+\nFloatLeft=300\n"
                                 "FloatTop=240\nDPFloatingWidth=260\nDPFloatingHeight=230\n";

} // namespace

TEST_F(WindowLayout, FiveRestartsLeaveTheSameFileAndTheStoredNumbers) {
    program.Write(QStringLiteral("Brisko.ini"), StoredLayout);
    StartAndClose();
    const QByteArray first = SavedFile();
    const std::vector<std::pair<const char*, const char*>> kept{
        {"MainWindowWidth", "760"}, {"MainWindowHeight", "540"}, {"MainWindowX", "24"},
        {"MainWindowY", "52"},      {"FoldersWidth", "220"},     {"TreeViewVisible", "0"},
        {"FileInfoDBVisible", "0"}};
    for (const auto& [key, value] : kept)
        EXPECT_EQ(Saved("Brisko", key), QLatin1String(value)) << key;
    // Hidden all the run: their sizes are the ones read.
    EXPECT_EQ(Saved("TBXdpFolders", "DPDockedWidth"), QStringLiteral("220"));
    EXPECT_EQ(Saved("TBXdpFolders", "DPDockedHeight"), QStringLiteral("300"));
    EXPECT_EQ(Saved("tbxdpDBInfo", "DPDockedWidth"), QStringLiteral("250"));
    EXPECT_EQ(Saved("tbxdpDBInfo", "DPDockedHeight"), QStringLiteral("200"));
    EXPECT_EQ(Saved("tbxdpFlags", "DockedTo"), QStringLiteral("+"));
    EXPECT_EQ(Saved("tbxdpFlags", "FloatLeft"), QStringLiteral("300"));
    EXPECT_EQ(Saved("tbxdpFlags", "FloatTop"), QStringLiteral("240"));
    EXPECT_EQ(Saved("tbxdpFlags", "DPFloatingWidth"), QStringLiteral("260"));
    EXPECT_EQ(Saved("tbxdpFlags", "DPFloatingHeight"), QStringLiteral("230"));

    for (int run = 2; run <= 5; ++run) {
        StartAndClose();
        EXPECT_EQ(SavedFile(), first) << "run " << run;
    }
}

TEST_F(WindowLayout, APanelHiddenAtStartComesWithItsStoredSizeWhenShown) {
    program.Write(QStringLiteral("Brisko.ini"), StoredLayout);
    Start();
    Settle();
    w->MIFolders->trigger();
    Settle();
    EXPECT_EQ(w->TBXdpFolders->width(), 220);
    Close();
    EXPECT_EQ(Saved("Brisko", "FoldersWidth"), QStringLiteral("220"));
}

TEST_F(WindowLayout, TheLargestStoredSizeFitsTheScreenAndIsNotWrittenBack) {
    program.Write(QStringLiteral("Brisko.ini"),
                  "[Brisko]\nMainWindowWidth=2147483647\nMainWindowHeight=2147483647\n"
                  "MainWindowX=2147483647\nMainWindowY=2147483647\n");
    Start();
    Settle();
    const QRect available = Available(w.get());
    EXPECT_TRUE(available.contains(w->frameGeometry()))
        << w->frameGeometry().width() << "x" << w->frameGeometry().height();
    Close();
    for (const char* key : {"MainWindowWidth", "MainWindowHeight", "MainWindowX", "MainWindowY"})
        EXPECT_LE(Saved("Brisko", key).toInt(), std::max(available.width(), available.height()))
            << key;
}

TEST_F(WindowLayout, PanelsStoredOffScreenOrOnAnUnknownSideComeBackOnScreen) {
    program.Write(QStringLiteral("Brisko.ini"),
                  "[tbxdpFlags]\nRev=2000\nDockedTo=+\nFloatLeft=9000\nFloatTop=-4000\n"
                  "DPFloatingWidth=99999\nDPFloatingHeight=300\n"
                  "[tbxdpGeneral]\nRev=2000\nDockedTo=Bottom\n"
                  "[tbxdpDBInfo]\nRev=2000\nDockedTo=Middle\n"
                  "[TBXdpFolders]\nRev=2000\nDockedTo=Right\n");
    Start();
    Settle();
    EXPECT_TRUE(w->tbxdpFlags->isFloating());
    EXPECT_TRUE(Available(w->tbxdpFlags).contains(w->tbxdpFlags->frameGeometry()));
    EXPECT_EQ(w->tbxdpFlags->height(), 300);
    EXPECT_EQ(w->dockWidgetArea(w->tbxdpGeneral), Qt::RightDockWidgetArea);
    EXPECT_EQ(w->dockWidgetArea(w->tbxdpDBInfo), Qt::RightDockWidgetArea);
    EXPECT_EQ(w->dockWidgetArea(w->TBXdpFolders), Qt::RightDockWidgetArea);
}

TEST_F(WindowLayout, TheWindowFitsALaptopScreenWithADesktopBar) {
    Start();
    Settle();
    const QMargins frame(w->geometry().left() - w->frameGeometry().left(),
                         w->geometry().top() - w->frameGeometry().top(), 0, 0);
    const QSize room(LaptopWidth - 2 * frame.left(),
                     LaptopHeight - DesktopBar - std::max(TitleBar, frame.top() + frame.left()));
    const QSize smallest = w->minimumSizeHint().expandedTo(w->minimumSize());
    EXPECT_LE(smallest.width(), room.width());
    EXPECT_LE(smallest.height(), room.height());
    // With every panel shown, at that height: nothing pushes the window taller.
    w->resize(room);
    Settle();
    EXPECT_EQ(w->size(), room);
    for (QDockWidget* dock : {w->TBXdpFolders, w->tbxdpGeneral, w->tbxdpDBInfo, w->tbxdpFlags})
        EXPECT_TRUE(dock->isVisible() && dock->geometry().bottom() < room.height())
            << dock->objectName().toStdString();
}

TEST_F(WindowLayout, PanelsComeBackInTheirOrderSidesAndSizes) {
    program.Write(QStringLiteral("Brisko.ini"),
                  "[Brisko]\nMainWindowWidth=1100\nMainWindowHeight=640\n"
                  "[tbxdpFlags]\nRev=2000\nDockedTo=Right\nDockRow=0\nDPDockedWidth=300\n"
                  "[tbxdpDBInfo]\nRev=2000\nDockedTo=Right\nDockRow=1\nDPDockedWidth=300\n"
                  "[tbxdpGeneral]\nRev=2000\nDockedTo=Left\nDockRow=1\nDPDockedWidth=240\n"
                  "[TBXdpFolders]\nRev=2000\nDockedTo=Left\nDockRow=0\nDPDockedWidth=240\n");
    const QStringList right{QStringLiteral("tbxdpFlags"), QStringLiteral("tbxdpDBInfo")};
    const QStringList left{QStringLiteral("TBXdpFolders"), QStringLiteral("tbxdpGeneral")};
    for (int run = 1; run <= 2; ++run) {
        Start();
        Settle();
        EXPECT_EQ(PanelsFromTheTop(Qt::RightDockWidgetArea), right) << "run " << run;
        EXPECT_EQ(PanelsFromTheTop(Qt::LeftDockWidgetArea), left) << "run " << run;
        EXPECT_EQ(w->tbxdpFlags->width(), 300) << "run " << run;
        EXPECT_EQ(w->tbxdpGeneral->width(), 240) << "run " << run;
        Close();
        EXPECT_EQ((QStringList{Saved("tbxdpFlags", "DockRow"), Saved("tbxdpDBInfo", "DockRow"),
                               Saved("TBXdpFolders", "DockRow"), Saved("tbxdpGeneral", "DockRow")}),
                  (QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("0"),
                               QStringLiteral("1")}))
            << "run " << run;
        EXPECT_EQ(Saved("tbxdpDBInfo", "DPDockedWidth"), QStringLiteral("300"));
    }
}

TEST_F(WindowLayout, AMaximizedWindowKeepsItsNormalBounds) {
    program.Write(QStringLiteral("Brisko.ini"), StoredLayout);
    Start();
    Settle();
    w->showMaximized();
    QTRY_VERIFY(w->isMaximized());
    Settle();
    Close();
    EXPECT_EQ(
        (QStringList{Saved("Brisko", "MainWindowX"), Saved("Brisko", "MainWindowY"),
                     Saved("Brisko", "MainWindowWidth"), Saved("Brisko", "MainWindowHeight")}),
        Words("24 52 760 540"));
}
