// Tests of the questions before an install: files with one database name, damaged files,
// files that are no Palm database, and what the files on disk give.
#include "core/InstallCollisions.h"

#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

InstallInspection Palm(const char* file, const std::string& name, bool damaged = false) {
    InstallInspection c;
    c.File = QString::fromLatin1(file);
    c.IsPalmDatabase = true;
    c.NameBytes = name;
    c.DatabaseName = QString::fromLatin1(name.c_str());
    c.Damaged = damaged;
    c.Problem = damaged ? QStringLiteral("cut") : QString();
    return c;
}

InstallInspection NotPalm(const char* file) {
    InstallInspection c;
    c.File = QString::fromLatin1(file);
    c.Problem = QStringLiteral("too short");
    return c;
}

// "kind:file,file" for each concern.
QStringList Summary(const std::vector<InstallConcern>& concerns) {
    QStringList lines;
    for (const InstallConcern& concern : concerns) {
        const char* kind = concern.Kind == InstallConcernKind::SameDatabaseName ? "same"
                           : concern.Kind == InstallConcernKind::Damaged        ? "damaged"
                                                                                : "not-palm";
        lines << QString::fromLatin1(kind) + u':' + concern.Files.join(u',');
        EXPECT_FALSE(concern.Text.isEmpty());
    }
    return lines;
}

TEST(InstallCollisions, AsksAboutSharedNamesDamageAndNonPalmFiles) {
    const struct {
        const char* name;
        std::vector<InstallInspection> candidates;
        QStringList expected;
    } cases[] = {
        {"nothing to ask", {Palm("a.pdb", "MemoDB"), Palm("b.pdb", "AddressDB")}, {}},
        {"none at all", {}, {}},
        {"one name twice",
         {Palm("a.pdb", "MemoDB"), Palm("b.prc", "Other"), Palm("c.pdb", "MemoDB")},
         {QStringLiteral("same:a.pdb,c.pdb")}},
        {"names differ in case: bytes decide",
         {Palm("a.pdb", "MemoDB"), Palm("b.pdb", "memodb")},
         {}},
        {"two names, each three times, in order of first appearance",
         {Palm("1", "B"), Palm("2", "A"), Palm("3", "B"), Palm("4", "A"), Palm("5", "B"),
          Palm("6", "A")},
         {QStringLiteral("same:1,3,5"), QStringLiteral("same:2,4,6")}},
        {"damaged and not Palm, after the names",
         {NotPalm("x.pdb"), Palm("d.pdb", "D", true), Palm("a.pdb", "A"), Palm("b.pdb", "A")},
         {QStringLiteral("same:a.pdb,b.pdb"), QStringLiteral("damaged:d.pdb"),
          QStringLiteral("not-palm:x.pdb")}},
        {"files that are no database share no name",
         {NotPalm("x.pdb"), NotPalm("y.pdb")},
         {QStringLiteral("not-palm:x.pdb"), QStringLiteral("not-palm:y.pdb")}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Summary(InstallConcerns(c.candidates)), c.expected) << c.name;
}

TEST(InstallCollisions, NamesTheSharedDatabaseInTheQuestion) {
    const auto concerns = InstallConcerns({Palm("a", "Caf\xE9"), Palm("b", "Caf\xE9")});
    ASSERT_EQ(concerns.size(), 1u);
    EXPECT_TRUE(concerns[0].Text.contains(QStringLiteral("\"Caf\u00E9\"")))
        << concerns[0].Text.toStdString();
}

TEST(InstallCollisions, InspectsTheFilesOnDisk) {
    TempFolder dir;
    PalmFileBuilder b;
    b.name = "Caf\xE9 DB";
    b.recordOffsets = {88};
    b.tail = QByteArray(6, 'r');
    const QString sound = b.WriteTo(dir.File(QStringLiteral("a.pdb")));
    b.recordOffsets = {0xFFFFFFFF};
    const QString damaged = b.WriteTo(dir.File(QStringLiteral("b.pdb")));
    const QString text = dir.Write(QStringLiteral("c.pdb"), "hello");

    const InstallInspection a = InspectForInstall(sound);
    EXPECT_TRUE(a.IsPalmDatabase);
    EXPECT_FALSE(a.Damaged);
    EXPECT_EQ(a.NameBytes, "Caf\xE9 DB");
    EXPECT_EQ(a.DatabaseName, QStringLiteral("Caf\u00E9 DB"));
    const InstallInspection d = InspectForInstall(damaged);
    EXPECT_TRUE(d.IsPalmDatabase);
    EXPECT_TRUE(d.Damaged);
    EXPECT_FALSE(d.Problem.isEmpty());
    EXPECT_FALSE(InspectForInstall(text).IsPalmDatabase);
    const InstallInspection missing = InspectForInstall(dir.File(QStringLiteral("none.pdb")));
    EXPECT_FALSE(missing.IsPalmDatabase);
    EXPECT_FALSE(missing.Problem.isEmpty());
    EXPECT_EQ(
        Summary(InstallConcerns({a, d, InspectForInstall(text)})),
        (QStringList{QStringLiteral("same:") + sound + u',' + damaged,
                     QStringLiteral("damaged:") + damaged, QStringLiteral("not-palm:") + text}));
}

} // namespace
