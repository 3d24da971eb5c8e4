#include "export/CategoryInfo.h"

QString CategoryInfo::NameOf(int category) const {
    return (category >= 0 && category < Count) ? Names[size_t(category)] : QString();
}

QString FixedFieldText(QByteArrayView field, const CodePage& codePage) {
    const qsizetype end = field.indexOf('\0');
    return codePage.Decode(end < 0 ? field : field.first(end));
}

std::optional<CategoryInfo> DecodeCategoryInfo(QByteArrayView appInfo, const CodePage& codePage) {
    if (appInfo.size() < CategoryInfo::Size)
        return std::nullopt;
    const std::optional<CategoryBlock> block = SplitCategoryBlock(
        reinterpret_cast<const unsigned char*>(appInfo.data()), std::size_t(appInfo.size()));
    CategoryInfo info;
    for (int i = 0; i < CategoryInfo::Count; ++i) {
        info.Renamed[size_t(i)] = (block->RenamedFlags & (1u << i)) != 0;
        info.Names[size_t(i)] = codePage.Decode(QByteArrayView(block->Names[size_t(i)]));
    }
    info.Ids = block->Ids;
    info.LastUniqueId = block->LastUniqueId;
    return info;
}
