#include "export/CategoryInfo.h"

#include "export/RecordBytes.h"

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
    CategoryInfo info;
    RecordReader reader(appInfo);
    const uint16_t renamed = *reader.Word();
    for (int i = 0; i < CategoryInfo::Count; ++i) {
        info.Renamed[size_t(i)] = (renamed & (1u << i)) != 0;
        info.Names[size_t(i)] =
            FixedFieldText(appInfo.sliced(reader.Position(), CategoryInfo::NameSize), codePage);
        reader.Skip(CategoryInfo::NameSize);
    }
    for (auto& id : info.Ids)
        id = *reader.Byte();
    info.LastUniqueId = *reader.Byte();
    return info;
}
