// The export-table reader on DLL images written byte by byte, on DLLs linked by MinGW
// when it is installed, and on damaged images: those are refused, never read past.
#include "palmdesktop/PeExports.h"

#include "PeImage.h"
#include "palmdesktop/udxUserData.h"

#include <QFile>
#include <gtest/gtest.h>
#include <random>
#include <set>

namespace {

std::vector<std::string> UserDataNames() {
    return {UserDataFunctionNames.begin(), UserDataFunctionNames.end()};
}

std::set<std::string> Names(const PeExportTable& table) {
    std::set<std::string> names;
    for (const PeExport& e : table.Exports)
        names.insert(e.Name);
    return names;
}

} // namespace

TEST(PeExports, ReadsTheNamesOfPe32AndPe32PlusImagesAndOfALinkersOutput) {
    const std::set<std::string> expected(UserDataFunctionNames.begin(),
                                         UserDataFunctionNames.end());
    for (const bool is64 : {false, true}) {
        const PeExportTable table = ReadPeExports(PeImage::Dll(UserDataNames(), is64));
        ASSERT_TRUE(table.Valid) << table.Error;
        EXPECT_EQ(Names(table), expected);
        std::set<uint32_t> addresses;
        for (const PeExport& e : table.Exports)
            addresses.insert(e.Rva);
        EXPECT_EQ(addresses.size(), expected.size()) << "each name its own function";
    }
#ifdef BRISKO_MINGW_USERDATA
    QFile linked(QStringLiteral(BRISKO_MINGW_USERDATA));
    ASSERT_TRUE(linked.open(QIODevice::ReadOnly));
    const PeExportTable table = ReadPeExports(linked.readAll());
    ASSERT_TRUE(table.Valid) << table.Error;
    EXPECT_EQ(Names(table), expected);
#endif
}

TEST(PeExports, RefusesDamagedImages) {
    using namespace PeImage;
    const QByteArray good = Dll(UserDataNames());
    const uint32_t firstName = GetU32(good, ExportDirectory + 32) - SectionRva + SectionRaw;
    const uint32_t sectionEnd = SectionRva + GetU32(good, SectionTable + 8); // code, no zero
    struct Case {
        const char* what;
        uint32_t offset; // where a 32-bit value is overwritten
        uint32_t value;
    };
    const Case cases[] = {
        {"PE header beyond the end", 0x3c, 0xfffffff0},
        {"no PE signature", PeHeader, 0x00004550 + 0x100},
        {"unknown optional header", Optional, 0x107},
        {"optional header too short", Coff + 16, 40 | 0x2102u << 16},
        {"section table beyond the end", Coff, 0xffff014c},
        {"section data beyond the end", SectionTable + 20, 0xfffffff0},
        {"export table in no section", Optional + 96, 0x90000},
        {"huge name count", ExportDirectory + 24, 0xffffffff},
        {"too few functions", ExportDirectory + 20, 3},
        {"name outside", firstName, 0x80000000},
        {"name without its end", firstName, sectionEnd - 4},
    };
    for (const Case& c : cases) {
        QByteArray image = good;
        PutU32(image, c.offset, c.value);
        const PeExportTable table = ReadPeExports(image);
        EXPECT_FALSE(table.Valid) << c.what;
        EXPECT_TRUE(table.Exports.empty()) << c.what;
    }
    for (const QByteArray& image : {QByteArray(), QByteArray("LIBRARY userdata\nEXPORTS\n")})
        EXPECT_FALSE(ReadPeExports(image).Valid);
}

// Every cut of a valid image and random damage: the reader stays inside the bytes (the
// sanitizer build sees a stray read), and what it accepts it reads whole.
TEST(PeExports, SurvivesTruncationAndRandomDamage) {
    for (const bool is64 : {false, true}) {
        const QByteArray good = PeImage::Dll(UserDataNames(), is64);
        for (qsizetype size = 0; size < good.size(); ++size) {
            const PeExportTable table = ReadPeExports(good.left(size));
            EXPECT_TRUE(!table.Valid || table.Exports.size() == UserDataNames().size()) << size;
        }
        std::mt19937 random(is64 ? 64 : 32);
        for (int round = 0; round < 3000; ++round) {
            QByteArray image = good;
            for (int hits = 1 + int(random() % 8); hits > 0; --hits)
                image[qsizetype(random() % uint32_t(image.size()))] = char(random());
            EXPECT_LE(ReadPeExports(image).Exports.size(), size_t(65536));
        }
    }
}
