#include "browser/InstallCommand.h"

#include <gtest/gtest.h>

TEST(InstallCommand, PInstallGetsEachPathQuotedEveryOtherToolOneQuotedList) {
    const QString a = QStringLiteral("/home/me/My Palm/a b.prc");
    const QString c = QStringLiteral("/home/me/c.pdb");
    const QString each = QStringLiteral(R"("/home/me/My Palm/a b.prc" "/home/me/c.pdb")");
    const QString whole = QStringLiteral(R"("/home/me/My Palm/a b.prc /home/me/c.pdb")");
    const struct {
        const char* tool;
        QString parameters;
    } cases[] = {
        {R"(C:\Program Files\Palm\PInstall.exe)", each},
        {"PINSTALL.EXE", each},
        {"/opt/palm/pinstall.exe", each},
        {"C:pinstall.exe", each},
        {R"(C:\Palm\Instapp.exe)", whole},
        {"/opt/palm/PInstall2.exe", whole},
        {"PInstall.lnk", whole},
        {"PInstall.exe.bak", whole},
        {R"(C:\PInstall.exe\tool.exe)", whole},
    };
    InstallFileLists lists;
    lists.AddInstallFile(a);
    lists.AddInstallFile(c);
    EXPECT_EQ(lists.InstallFileList(), a + u' ' + c);
    for (const auto& c2 : cases)
        EXPECT_EQ(lists.Parameters(QString::fromUtf8(c2.tool)), c2.parameters) << c2.tool;

    lists.Clear();
    EXPECT_TRUE(lists.IsEmpty());
    EXPECT_TRUE(lists.InstallFileListQuoted().isEmpty());
    // One file: both forms are the same text.
    lists.AddInstallFile(a);
    EXPECT_EQ(lists.Parameters(QStringLiteral("PInstall.exe")),
              lists.Parameters(QStringLiteral("Instapp.exe")));
    EXPECT_EQ(lists.Parameters(QStringLiteral("Instapp.exe")), u'"' + a + u'"');
}
