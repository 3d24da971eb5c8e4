// The category part that the built-in applications put at the start of their app info
// block (laid out as palmdb's CategoryBlock), its names in the user's code page.
#pragma once

#include "export/CodePage.h"
#include "palmdb/CategoryBlock.h"

#include <QByteArrayView>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

struct CategoryInfo {
    static constexpr int Count = CategoryBlock::CategoryCount;
    static constexpr int NameSize = CategoryBlock::NameSize;
    static constexpr int Size = int(CategoryBlock::Size);

    std::array<QString, Count> Names;
    std::array<uint8_t, Count> Ids{};
    std::array<bool, Count> Renamed{};
    uint8_t LastUniqueId = 0;

    // The name of a record's category (0..15); empty for an unnamed one.
    QString NameOf(int category) const;
};

// Nothing when the block is shorter than the category part.
std::optional<CategoryInfo> DecodeCategoryInfo(QByteArrayView appInfo, const CodePage& codePage);

// A text of a fixed-size field: up to its first NUL or the field's end.
QString FixedFieldText(QByteArrayView field, const CodePage& codePage);
