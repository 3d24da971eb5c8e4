#include "export/MemoDecoder.h"

#include "export/DecodeErrors.h"

Decoded<Memo> DecodeMemo(const PalmRecordBytes& record, const CodePage& codePage) {
    RecordReader reader(record.Data);
    const auto text = reader.String();
    if (!text)
        return Decoded<Memo>::Failure(UnterminatedTextText());
    return Decoded<Memo>::Of(
        Memo{codePage.Decode(*text), FlagsOfAttributes(record.Attributes), record.UniqueId});
}

Decoded<MemoAppInfo> DecodeMemoAppInfo(QByteArrayView appInfo, const CodePage& codePage) {
    auto categories = DecodeCategoryInfo(appInfo, codePage);
    if (!categories)
        return Decoded<MemoAppInfo>::Failure(AppInfoTooShortText());
    MemoAppInfo info{std::move(*categories), 0};
    // Two reserved words, then the sort order; older handhelds end the block before it.
    RecordReader rest(appInfo.sliced(CategoryInfo::Size));
    if (rest.Skip(4))
        info.SortOrder = rest.Byte().value_or(0);
    return Decoded<MemoAppInfo>::Of(std::move(info));
}
