#include "palmdb/CategoryBlock.h"

#include "palmdb/DatabaseContents.h"

#include <algorithm>

std::optional<CategoryBlock> SplitCategoryBlock(const unsigned char* bytes, std::size_t size) {
    // Some writers leave out the pad byte at the end.
    if (bytes == nullptr || size < CategoryBlock::Size - 1)
        return std::nullopt;
    CategoryBlock block;
    block.RenamedFlags = uint16_t((bytes[0] << 8) | bytes[1]);
    const unsigned char* names = bytes + 2;
    for (int i = 0; i < CategoryBlock::CategoryCount; ++i) {
        const unsigned char* field = names + i * CategoryBlock::NameSize;
        const unsigned char* end = std::find(field, field + CategoryBlock::NameSize, '\0');
        block.Names[std::size_t(i)].assign(reinterpret_cast<const char*>(field),
                                           std::size_t(end - field));
    }
    const unsigned char* ids = names + CategoryBlock::CategoryCount * CategoryBlock::NameSize;
    std::copy(ids, ids + CategoryBlock::CategoryCount, block.Ids.begin());
    block.LastUniqueId = ids[CategoryBlock::CategoryCount];
    return block;
}

std::optional<CategoryBlock> ParseCategoryBlock(const unsigned char* bytes, std::size_t size) {
    std::optional<CategoryBlock> block = SplitCategoryBlock(bytes, size);
    // A name that fills its field has lost its NUL: then these bytes are no such block.
    if (block && std::any_of(block->Names.begin(), block->Names.end(), [](const std::string& name) {
            return name.size() == std::size_t(CategoryBlock::NameSize);
        }))
        return std::nullopt;
    return block;
}

std::optional<CategoryBlock> ReadCategoryBlock(ByteSource& source,
                                               const DatabaseContents& contents) {
    if (contents.Kind != ContentsKind::Records || !contents.HasAppInfo ||
        contents.AppInfo.Problem != EntryProblem::None)
        return std::nullopt;
    const EntryBytes bytes = ReadEntryBytes(source, contents.AppInfo, 0, CategoryBlock::Size);
    return ParseCategoryBlock(reinterpret_cast<const unsigned char*>(bytes.Bytes.data()),
                              bytes.Bytes.size());
}
