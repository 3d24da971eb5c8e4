// The standard app info block that most record databases begin their app info with:
// the category names the handheld shows, their IDs and which names the user renamed.
// Names are the file's bytes (Windows-1252 on the handheld); the caller converts them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

struct DatabaseContents;
class ByteSource;

struct CategoryBlock {
    static constexpr int CategoryCount = 16;
    static constexpr int NameSize = 16;
    // Renamed flags, 16 names, 16 IDs, the last unique ID and a pad byte.
    static constexpr std::size_t Size = 2 + CategoryCount * NameSize + CategoryCount + 2;

    uint16_t RenamedFlags = 0;                    // bit i: category i was renamed
    std::array<std::string, CategoryCount> Names; // up to the NUL; "" for an unused slot
    std::array<uint8_t, CategoryCount> Ids{};     // the handheld's ID of each category
    uint8_t LastUniqueId = 0;
};

// The block's fields as they stand at the start of the app info bytes, a name up to its
// NUL or its 16th byte, for readers that take a name without its NUL as the handheld
// does; nothing when fewer than Size - 1 bytes (the pad byte may be missing).
std::optional<CategoryBlock> SplitCategoryBlock(const unsigned char* bytes, std::size_t size);

// The block at the start of the app info bytes, or nothing when they cannot be one:
// shorter than Size, or a name field without its NUL (a name holds at most 15 bytes).
// The pad byte after the last unique ID may be missing.
std::optional<CategoryBlock> ParseCategoryBlock(const unsigned char* bytes, std::size_t size);

// The category block of a record database: its app info block's first bytes read (no
// more than Size), or nothing for a resource database, one without a sound app info
// block, or one whose app info is no category block.
std::optional<CategoryBlock> ReadCategoryBlock(ByteSource& source,
                                               const DatabaseContents& contents);
