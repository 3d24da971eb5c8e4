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

const std::vector<std::string> UserDataNames(UserDataFunctionNames.begin(),
                                             UserDataFunctionNames.end());

// The names, and whether each has a function of its own.
std::pair<std::set<std::string>, bool> Names(const PeExportTable& table) {
    std::set<std::string> names;
    std::set<uint32_t> addresses;
    for (const PeExport& e : table.Exports) {
        names.insert(e.Name);
        addresses.insert(e.Rva);
    }
    return {names, addresses.size() == table.Exports.size()};
}

} // namespace

TEST(PeExports, ReadsTheNamesOfPe32AndPe32PlusImagesAndOfALinkersOutput) {
    std::vector<QByteArray> images{PeImage::Dll(UserDataNames), PeImage::Dll(UserDataNames, true)};
#ifdef BRISKO_MINGW_USERDATA
    QFile linked(QStringLiteral(BRISKO_MINGW_USERDATA));
    ASSERT_TRUE(linked.open(QIODevice::ReadOnly));
    images.push_back(linked.readAll());
#endif
    for (const QByteArray& image : images) {
        const PeExportTable table = ReadPeExports(image);
        ASSERT_TRUE(table.Valid) << table.Error;
        EXPECT_EQ(Names(table),
                  std::pair(std::set(UserDataNames.begin(), UserDataNames.end()), true));
    }
}

TEST(PeExports, RefusesDamagedImages) {
    using namespace PeImage;
    const QByteArray good = Dll(UserDataNames);
    const uint32_t firstName = GetU32(good, ExportDirectory + 32) - SectionRva + SectionRaw;
    const uint32_t sectionEnd = SectionRva + GetU32(good, SectionTable + 8); // code, no zero
    const std::tuple<const char*, uint32_t, uint32_t> cases[] = {
        // what, where a 32-bit value is overwritten, the value
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
    for (const auto& [what, offset, value] : cases) {
        QByteArray image = good;
        PutU32(image, offset, value);
        const PeExportTable table = ReadPeExports(image);
        EXPECT_FALSE(table.Valid) << what;
        EXPECT_TRUE(table.Exports.empty()) << what;
    }
}

// Every cut of a valid image and random damage: the reader stays inside the bytes (the
// sanitizer build sees a stray read), and what it accepts it reads whole.
TEST(PeExports, SurvivesTruncationAndRandomDamage) {
    for (const bool is64 : {false, true}) {
        const QByteArray good = PeImage::Dll(UserDataNames, is64);
        for (qsizetype size = 0; size < good.size(); ++size) {
            const PeExportTable table = ReadPeExports(good.left(size));
            EXPECT_TRUE(!table.Valid || table.Exports.size() == UserDataNames.size()) << size;
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
