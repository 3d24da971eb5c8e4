// Writes the seed corpus of every fuzz target into FOLDER/<target>/: small valid inputs
// made by the same builders the tests use, and a few with the damage the tests know.
// Usage: make_fuzz_seeds FOLDER
#include "PeImage.h"
#include "export/RecordBuilder.h"
#include "support/PalmFileBuilder.h"
#include "support/ZipBuilder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <stdexcept>

namespace {

QString Root;

void Seed(const char* target, const char* name, const QByteArray& bytes) {
    const QString folder = Root + QLatin1Char('/') + QLatin1String(target);
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/seed-") + QLatin1String(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + file.fileName().toStdString());
}

// Text seeds keep their NUL bytes.
template <size_t N> void Seed(const char* target, const char* name, const char (&text)[N]) {
    Seed(target, name, QByteArray(text, N - 1));
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return file.readAll();
}

void PalmSeeds() {
    PalmFileBuilder memo;
    memo.name = "MemoDB";
    memo.attributes = 0x0008;
    memo.version = 1;
    memo.created = 0xB5E2F100;
    memo.modified = 0x5F000000; // seconds since 1970
    memo.type = "DATA";
    memo.creator = "memo";
    memo.recordOffsets = {96, 120, 200};
    memo.tail = QByteArray(160, 'm');
    Seed("palmdb", "memo", memo.Bytes());

    PalmFileBuilder empty;
    empty.name = std::string(32, 'N'); // no terminating NUL
    empty.type = "appl";
    empty.creator = "\xE9\x01\x7F\x00";
    Seed("palmdb", "empty-app", empty.Bytes());

    PalmFileBuilder lying = memo;
    lying.recordCountOverride = 40; // more entries than the file holds
    Seed("palmdb", "short-list", lying.Bytes());

    PalmFileBuilder negative = memo;
    negative.recordOffsets = {96, 0x80000000u, 90};
    Seed("palmdb", "negative-offset", negative.Bytes());

    Seed("palmdb", "cut-header", memo.Bytes().left(40));
}

// Both layouts with blocks and categories, and the damage the contents tests know; the
// check reads the same inputs.
void ContentsSeeds() {
    PalmFileBuilder records;
    records.name = "Categories";
    records.appInfoArea = 104;
    records.sortInfoArea = 380;
    records.recordOffsets = {384, 390, 400};
    records.recordInfo = {0x40000001, 0x92ABCDEF, 0x0F000003};
    const QByteArray appInfo = CategoryAppInfo({"Unfiled", "Business"});
    records.tail = QByteArray(2, '\0') + appInfo + "sort" + QByteArray(26, 'r');
    PalmFileBuilder resources;
    resources.name = "App";
    resources.attributes = 0x0001;
    resources.resources = {{"code", 0, 110}, {"tSTR", 1000, 120}, {"tSTR", 1000, 125}};
    resources.tail = QByteArray(2 + 30, 'c');
    PalmFileBuilder damaged = records;
    damaged.recordOffsets = {0xFFFFFFFF, 90, 384, 200};
    damaged.appInfoArea = 82;
    damaged.nextRecordList = 1;
    PalmFileBuilder cut = records;
    cut.recordCountOverride = 65535;
    for (const char* target : {"contents", "check"}) {
        Seed(target, "records", records.Bytes());
        Seed(target, "resources", resources.Bytes());
        Seed(target, "damaged", damaged.Bytes());
        Seed(target, "list-cut", cut.Bytes().left(120));
    }
    Seed("category", "block", appInfo);
    Seed("category", "short", appInfo.left(100));
}

void IniSeeds() {
    Seed("ini", "settings",
         "; Brisko\r\n[Brisko]\r\nCurrentFolder=\"/home/ana/Palm Backups\"\r\nWidth=0x200\r\n"
         "Height=$1F0\r\nShowHidden=1\r\n\r\n[Favourites]\r\n0=/tmp/a b\r\n1= \" quoted \" \r\n"
         "[brisko]\r\nCurrentFolder=duplicate section\r\n[Empty]\r\n=no key\r\nbare line\r\n");
    Seed("ini", "latin1",
         "[Brisko]\nFolder=/home/m\xFCller\n[Gr\xFC\xDF"
         "e]\nx=\xE9t\xE9\n");
    Seed("ini", "odd", "[ A ]\rkey = value = more\r\n[B\n[C]]\nk=\"\nk2=\"\"\"\n\xEF\xBB\xBF[D]\n");
}

void CreatorSeeds() {
    Seed("creatorids", "catalogue",
         "; the handheld's own programs\r\n\r\n[memo]\r\nProgram=Memo Pad\r\nDescription=Notes\r\n"
         "URL=https://example.org/memo\r\n\r\n[addr]\r\nProgram=Address Book\r\n\r\n"
         "[memo]\r\nProgram=duplicate\r\n[MEMO]\r\nprogram=other case\r\n");
    Seed("creatorids", "bytes",
         "lines before\n[\xE9\x80\x01z]\nProgram=Caf\xE9\nURL = \" quoted \" \n[]\nProgram=empty "
         "id\n"
         "[a]b]\nbare line\n;comment\n[ sp ]\nDescription=a\x00"
         "b\n");
}

void ZipSeeds() {
    QTemporaryDir scratch;
    const auto archive = [&](const char* name, const ZipBuilder& builder) {
        const QString path = builder.WriteTo(scratch.filePath(QLatin1String(name)));
        return path;
    };
    PalmFileBuilder memo;
    memo.name = "MemoDB";
    memo.creator = "memo";
    memo.recordOffsets = {86};
    const QByteArray pdb = memo.Bytes();

    ZipBuilder plain;
    plain.Add("MemoDB.pdb", pdb)
        .AddFolder("Backup/")
        .Add("Backup/MemoDB.pdb", pdb)
        .Add("Read me.txt", "hello");
    Seed("zip", "plain", ReadAll(archive("plain.zip", plain)));

    ZipBuilder hostile;
    hostile.Add("../../escape.pdb", pdb)
        .Add("/etc/absolute.pdb", pdb)
        .Add("C:\\win.pdb", pdb)
        .Add("..", "x")
        .AddLink("link.pdb", "/etc/passwd")
        .Add("dir/", "not a folder");
    Seed("zip", "hostile", ReadAll(archive("hostile.zip", hostile)));

    ZipBuilder bomb;
    bomb.AddZeros("bomb.pdb", 2 * 1024 * 1024);
    Seed("zip", "bomb", ReadAll(archive("bomb.zip", bomb)));

    ZipBuilder lying;
    lying.Add("a.pdb", pdb).Add("b.pdb", pdb);
    const QString lyingPath = archive("lying.zip", lying);
    PatchDeclaredSize(lyingPath, "a.pdb", 10);
    DamageEntry(lyingPath, "b.pdb");
    Seed("zip", "lying", ReadAll(lyingPath));
}

void RegistrySeeds() {
    Seed("registry", "user",
         "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n"
         "[Software\\\\U.S. Robotics\\\\Pilot Desktop\\\\Core] 1700000000\n#time=1d9a0f5c2b3e4f0\n"
         "\"Path\"=\"C:\\\\Program Files\\\\Palm\"\n"
         "\"HotSyncPath\"=\"say \\\"hi\\\"\\tnow \\101\\x00fc\\x42c\"\n\"Count\"=dword:00000003\n"
         "\"Expand\"=str(2):\"%ProgramFiles%\\\\Palm\"\n"
         "\"Continued\"=hex(2):43,00,3a,00,5c,00,50,00,\\\n  61,00,6c,00,6d,00,00,00\n"
         "\"Hex1\"=hex(1):41,00\n@=\"the default\"\n\n[Software\\\\Broken] "
         "1\n\"Unterminated\"=\"no end\n"
         "\"Bad\"=hex(2):4\n");
}

void PeSeeds() {
    Seed("pe", "dll32", PeImage::Dll({"UmOpenUserData", "UmCloseUserData", "UmGetUserCount"}));
    Seed("pe", "dll64", PeImage::Dll({"UmGetUserName", "x"}, true));
    Seed("pe", "no-exports", PeImage::Dll({}));
}

// The decoders' inputs: the attribute byte, then the record (or app info block).
void ExportSeeds() {
    Seed("memo", "memo", RecordBuilder().Bytes({0x12}).Text("Shopping\nmilk, eggs"));
    Seed("memo", "deleted-archived", RecordBuilder().Bytes({0x88}).Text("gone"));
    Seed("memo", "no-nul", RecordBuilder().Bytes({0}).Text("no end", false));
    RecordBuilder appInfo;
    appInfo.Bytes({0}).Word(0x0003).Text("Unfiled\0\0\0\0\0\0\0\0", false);
    for (int i = 1; i < 16; ++i)
        appInfo.Text("Business\0\0\0\0\0\0\0", false);
    for (int i = 0; i < 16; ++i)
        appInfo.Bytes({i});
    appInfo.Bytes({15, 0, 0, 0, 0, 0, 1, 0});
    Seed("memo", "appinfo", appInfo);

    Seed("address", "all-fields",
         RecordBuilder()
             .Bytes({0x31})
             .Long(0x00276543)
             .Long(0x7FFFF)
             .Bytes({7})
             .Text("Smith")
             .Text("Jo")
             .Text("Acme")
             .Text("555-1")
             .Text("555-2")
             .Text("jo@x")
             .Text("555-4")
             .Text("555-5")
             .Text("Main St 1")
             .Text("Town")
             .Text("ST")
             .Text("12345")
             .Text("USA")
             .Text("Boss")
             .Text("c1")
             .Text("c2")
             .Text("c3")
             .Text("c4")
             .Text("note\nmore"));
    Seed("address", "label-9", RecordBuilder().Bytes({0}).Long(0x9).Long(1).Bytes({0}).Text("x"));
    Seed("address", "missing-fields",
         RecordBuilder().Bytes({0}).Long(0).Long(7).Bytes({0}).Text("x"));

    Seed("todo", "due",
         RecordBuilder().Bytes({0x12}).Date(2007, 4, 15).Bytes({0x81}).Text("Taxes").Text("W-2"));
    Seed("todo", "no-due",
         RecordBuilder().Bytes({0}).Word(0xFFFF).Bytes({5}).Text("later").Text(""));
    Seed("todo", "month-13",
         RecordBuilder().Bytes({0}).Date(2007, 13, 1).Bytes({1}).Text("x").Text(""));

    Seed("datebook", "weekly",
         RecordBuilder()
             .Bytes({0x10, 10, 0, 11, 0})
             .Date(2007, 1, 2)
             .Word(0x7C00)
             .Bytes({15, 0})
             .Bytes({2, 0})
             .Date(2007, 6, 30)
             .Bytes({2, 0x14, 0, 0})
             .Word(2)
             .Date(2007, 1, 16)
             .Date(2007, 3, 1)
             .Text("Team meeting")
             .Text("Room 4"));
    Seed("datebook", "last-friday",
         RecordBuilder()
             .Bytes({0, 0xFF, 0xFF, 0xFF, 0xFF})
             .Date(2007, 1, 26)
             .Word(0x2400)
             .Bytes({3, 0})
             .Word(0xFFFF)
             .Bytes({1, 33, 0, 0})
             .Text("Rent"));
    Seed("datebook", "yearly-alarm",
         RecordBuilder()
             .Bytes({0, 0xFF, 0xFF, 0xFF, 0xFF})
             .Date(2007, 2, 28)
             .Word(0x6400)
             .Bytes({1, 2})
             .Bytes({5, 0})
             .Word(0xFFFF)
             .Bytes({1, 0, 0, 0})
             .Text("Birthday"));
    Seed("datebook", "exceptions-beyond",
         RecordBuilder()
             .Bytes({0, 9, 0, 9, 30})
             .Date(2007, 3, 1)
             .Word(0x0800)
             .Word(500)
             .Date(2007, 3, 2));

    RecordBuilder compressed;
    compressed.Bytes({0x10, 0x00})
        .Text("Tick tock ", false)
        .Word(0x8000 | 10 << 3 | 7)
        .Bytes({3, 0xE9, 0x80, 0x01, 0xE1, 0xE2});
    Seed("ebook", "record", compressed);
    Seed("ebook", "book",
         RecordBuilder()
             .Bytes({0x10, 0x00})
             .Word(2)
             .Word(0)
             .Long(20)
             .Word(2)
             .Word(4096)
             .Long(0)
             .Bytes({0xFF})
             .Text("Tick ", false)
             .Word(0x8000 | 5 << 3 | 1)
             .Bytes({0xFF})
             .Text("tock", false));
    Seed("ebook", "before-start", RecordBuilder().Bytes({0x10, 0x00, 'a', 0x80, 0x18}));
}

void PreviewSeeds() {
    const QByteArray categories = CategoryAppInfo({"Unfiled", "Business"});
    Seed("preview", "memos",
         RecordDatabase("MemoDB", "DATA", "memo",
                        {RecordBuilder().Text("Shopping\nmilk"), QByteArray(),
                         RecordBuilder().Text("no end", false)},
                        categories, {0x01, 0x80, 0x00})
             .Bytes());
    QByteArray labels = categories + QByteArray(RecordBuilder().Word(0).Long(1 << 14));
    for (int i = 0; i < 22; ++i)
        labels += QByteArray(i == 14 ? "Shoe size" : "Label", i == 14 ? 9 : 5) +
                  QByteArray(i == 14 ? 7 : 11, '\0');
    labels += QByteArray(2, '\0');
    Seed("preview", "addresses",
         RecordDatabase("AddressDB", "DATA", "addr",
                        {RecordBuilder()
                             .Long(0x00100070)
                             .Long(0x4C01B)
                             .Bytes({0})
                             .Text("Smith")
                             .Text("Ann")
                             .Text("555-1")
                             .Text("555-2")
                             .Text("38")
                             .Text("x")
                             .Text("note")},
                        labels, {0x11})
             .Bytes());
    Seed("preview", "todos",
         RecordDatabase("ToDoDB", "DATA", "todo",
                        {RecordBuilder().Date(2027, 1, 31).Bytes({0x82}).Text("Call").Text("x"),
                         RecordBuilder().Word(0xFFFF).Bytes({7}).Text("bad")},
                        categories, {0x01, 0x00})
             .Bytes());
    Seed("preview", "appointments",
         RecordDatabase("DatebookDB", "DATA", "date",
                        {RecordBuilder()
                             .Bytes({9, 0, 10, 30})
                             .Date(2007, 3, 15)
                             .Word(0x7C00)
                             .Bytes({5, 0, 2, 0})
                             .Date(2027, 3, 1)
                             .Bytes({2, 0x0A, 1, 0})
                             .Word(1)
                             .Date(2007, 3, 19)
                             .Text("Team")
                             .Text("Room 4")},
                        categories, {0x10})
             .Bytes());
    Seed("preview", "ebook",
         RecordDatabase("Book", "TEXt", "REAd",
                        {RecordBuilder().Word(2).Word(0).Long(11).Word(1).Word(4096).Long(0),
                         RecordBuilder().Text("Hello", false).Bytes({0xE8, 0x80, 0x31}),
                         RecordBuilder().Text("bookmark", false)})
             .Bytes());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds FOLDER\n");
        return 2;
    }
    Root = QString::fromLocal8Bit(argv[1]);
    try {
        PalmSeeds();
        ContentsSeeds();
        IniSeeds();
        CreatorSeeds();
        ZipSeeds();
        RegistrySeeds();
        PeSeeds();
        ExportSeeds();
        PreviewSeeds();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
