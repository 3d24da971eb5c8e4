// Tests of the standard category block: names up to their NUL as raw bytes, IDs, the
// renamed flags, and the blocks that cannot be one.
#include "palmdb/CategoryBlock.h"

#include "palmdb/DatabaseContents.h"
#include "support/PalmFileBuilder.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// A block with the given names (at most 16 bytes each, no NUL added), IDs 10, 11, ...
std::string Block(const std::vector<std::string>& names, uint16_t renamed = 0) {
    std::string bytes;
    bytes += char(renamed >> 8);
    bytes += char(renamed & 0xFF);
    for (int i = 0; i < CategoryBlock::CategoryCount; ++i) {
        std::string field = i < int(names.size()) ? names[std::size_t(i)] : std::string();
        field.resize(CategoryBlock::NameSize, '\0');
        bytes += field;
    }
    for (int i = 0; i < CategoryBlock::CategoryCount; ++i)
        bytes += char(10 + i);
    bytes += char(0x2A); // last unique ID
    bytes += '\0';       // pad
    return bytes;
}

std::optional<CategoryBlock> Parse(const std::string& bytes) {
    return ParseCategoryBlock(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

TEST(CategoryBlock, ReadsNamesIdsAndFlags) {
    const std::string fifteen(15, 'L');
    const auto block =
        Parse(Block({"Unfiled", "Business", "Pers\xF6nlich", fifteen, ""}, 0x8005) + "more");
    ASSERT_TRUE(block);
    EXPECT_EQ(block->RenamedFlags, 0x8005);
    EXPECT_EQ(block->Names[0], "Unfiled");
    EXPECT_EQ(block->Names[2], "Pers\xF6nlich"); // bytes as stored, not converted
    EXPECT_EQ(block->Names[3], fifteen);
    EXPECT_EQ(block->Names[4], "");
    EXPECT_EQ(block->Names[15], "");
    EXPECT_EQ(block->Ids[0], 10);
    EXPECT_EQ(block->Ids[15], 25);
    EXPECT_EQ(block->LastUniqueId, 0x2A);
}

TEST(CategoryBlock, RefusesWhatCannotBeOne) {
    const std::string sound = Block({"Unfiled"});
    std::string garbageAfterNul = sound;
    garbageAfterNul[2 + 8] = 'x'; // after "Unfiled\0": still a name ending at its NUL
    const struct {
        const char* name;
        std::string bytes;
        bool parsed;
    } cases[] = {
        {"whole", sound, true},
        {"without the pad byte", sound.substr(0, sound.size() - 1), true},
        {"one byte short of the last unique ID", sound.substr(0, sound.size() - 2), false},
        {"empty", std::string(), false},
        {"a 16-byte name without NUL", Block({"Unfiled", std::string(16, 'N')}), false},
        {"bytes after a name's NUL", garbageAfterNul, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parse(c.bytes).has_value(), c.parsed) << c.name;
    EXPECT_FALSE(ParseCategoryBlock(nullptr, 300));
}

// Only a record database's sound app info block is read, and no more of it than a block.
TEST(CategoryBlock, IsReadFromTheAppInfoOfRecordDatabasesOnly) {
    const std::string block = Block({"Unfiled", "Work"});
    PalmFileBuilder records;
    records.appInfoArea = 80;
    records.tail = QByteArray(2, '\0') + QByteArray(block.data(), int(block.size())) + "tail";
    PalmFileBuilder resources = records;
    resources.attributes = 0x0001;
    PalmFileBuilder intoHeader = records;
    intoHeader.appInfoArea = 60;
    PalmFileBuilder none = records;
    none.appInfoArea = 0;
    PalmFileBuilder cut = records;
    cut.tail = cut.tail.left(100);
    const struct {
        const char* name;
        PalmFileBuilder builder;
        bool read;
    } cases[] = {
        {"records", records, true},
        {"resources", resources, false},
        {"app info inside the header", intoHeader, false},
        {"no app info", none, false},
        {"app info too short for a block", cut, false},
    };
    for (const auto& c : cases) {
        const QByteArray bytes = c.builder.Bytes();
        MemoryByteSource source(std::string(bytes.constData(), std::size_t(bytes.size())));
        const auto read = ReadCategoryBlock(source, ReadDatabaseContents(source));
        EXPECT_EQ(read.has_value(), c.read) << c.name;
        if (read) {
            EXPECT_EQ(read->Names[1], "Work") << c.name;
        }
    }
}

} // namespace
