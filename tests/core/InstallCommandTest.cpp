#include "core/InstallCommand.h"

#include <gtest/gtest.h>

TEST(InstallCommand, PInstallGetsEachPathQuotedEveryOtherToolOneQuotedList) {
    const QString a = QStringLiteral("/home/me/My Palm/a b.prc");
    const QString each = QStringLiteral(R"("/home/me/My Palm/a b.prc" "/home/me/c.pdb")");
    const QString whole = QStringLiteral(R"("/home/me/My Palm/a b.prc /home/me/c.pdb")");
    const struct {
        const char* tool;
        QString parameters;
    } cases[] = {
        {R"(C:\Program Files\Palm\PInstall.exe)", each},
        {"/opt/palm/pinstall.exe", each},
        {"C:pinstall.exe", each},
        {"PInstall.exe.bak", whole},
        {R"(C:\PInstall.exe\tool.exe)", whole},
    };
    InstallFileLists lists;
    lists.AddInstallFile(a);
    lists.AddInstallFile(QStringLiteral("/home/me/c.pdb"));
    for (const auto& c : cases)
        EXPECT_EQ(lists.Parameters(QString::fromUtf8(c.tool)), c.parameters) << c.tool;

    lists.Clear();
    lists.AddInstallFile(a); // one file: both forms are the same text
    EXPECT_EQ(lists.Parameters(QStringLiteral("PInstall.exe")), u'"' + a + u'"');
    EXPECT_EQ(lists.Parameters(QStringLiteral("Instapp.exe")), u'"' + a + u'"');
}
