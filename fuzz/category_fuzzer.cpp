// The category block on any bytes: either nothing, or 16 names that fit their fields.
#include "FuzzInput.h"
#include "palmdb/CategoryBlock.h"

#include <algorithm>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto block = ParseCategoryBlock(data, size);
    if (!block) {
        if (size >= CategoryBlock::Size) {
            // Refused only for a name without its NUL.
            bool someNameFull = false;
            for (int i = 0; i < CategoryBlock::CategoryCount; ++i) {
                const uint8_t* field = data + 2 + i * CategoryBlock::NameSize;
                someNameFull |= std::find(field, field + CategoryBlock::NameSize, 0) ==
                                field + CategoryBlock::NameSize;
            }
            if (!someNameFull)
                Broken("a sound block was refused");
        }
        return 0;
    }
    if (size < CategoryBlock::Size - 1)
        Broken("a short block was read");
    for (const std::string& name : block->Names)
        if (name.size() >= std::size_t(CategoryBlock::NameSize) ||
            name.find('\0') != std::string::npos)
            Broken("a name does not fit its field");
    return 0;
}
