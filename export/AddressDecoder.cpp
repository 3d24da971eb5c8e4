#include "export/AddressDecoder.h"

#include "export/DecodeErrors.h"

namespace {

constexpr int LabelSize = 16;
// Reserved word, renamed-label bits, labels, country, sort-by-company byte.
constexpr int AddressAppInfoSize = CategoryInfo::Size + 2 + 4 + AddressAppInfo::LabelCount * 16 + 2;

} // namespace

QString AddressAppInfo::PhoneLabelName(int label) const {
    // Labels 0..4 are those of the fields phone 1..5; 5..7 follow the note's label.
    if (label >= 0 && label < AddressPhoneCount)
        return Labels[size_t(int(AddressField::Phone1) + label)];
    if (label >= AddressPhoneCount && label < PhoneLabelCount)
        return Labels[size_t(AddressFieldCount + label - AddressPhoneCount)];
    return QString();
}

Decoded<Address> DecodeAddress(const PalmRecordBytes& record, const CodePage& codePage) {
    using Result = Decoded<Address>;
    RecordReader reader(record.Data);
    const auto phoneBits = reader.Long();
    const auto fieldBits = reader.Long();
    if (!phoneBits || !fieldBits || !reader.Skip(1))
        return Result::Failure(RecordTooShortText());
    Address address;
    for (int i = 0; i < AddressPhoneCount; ++i) {
        address.PhoneLabels[size_t(i)] = int(*phoneBits >> (4 * i)) & 0x0F;
        if (address.PhoneLabels[size_t(i)] >= PhoneLabelCount)
            return Result::Failure(PhoneLabelOutOfRangeText());
    }
    address.ShownPhone = int(*phoneBits >> 20) & 0x0F;
    if (address.ShownPhone >= AddressPhoneCount)
        return Result::Failure(PhoneLabelOutOfRangeText());
    for (int i = 0; i < AddressFieldCount; ++i) {
        if (!(*fieldBits & (1u << i)))
            continue;
        if (reader.Remaining() == 0)
            return Result::Failure(MissingFieldsText());
        const auto text = reader.String();
        if (!text)
            return Result::Failure(UnterminatedTextText());
        address.Fields[size_t(i)] = codePage.Decode(*text);
    }
    address.Flags = FlagsOfAttributes(record.Attributes);
    address.UniqueId = record.UniqueId;
    return Result::Of(std::move(address));
}

Decoded<AddressAppInfo> DecodeAddressAppInfo(QByteArrayView appInfo, const CodePage& codePage) {
    auto categories = DecodeCategoryInfo(appInfo, codePage);
    if (!categories || appInfo.size() < AddressAppInfoSize)
        return Decoded<AddressAppInfo>::Failure(AppInfoTooShortText());
    AddressAppInfo info;
    info.Categories = std::move(*categories);
    RecordReader reader(appInfo.sliced(CategoryInfo::Size));
    reader.Skip(2);
    info.RenamedLabels = *reader.Long();
    for (auto& label : info.Labels) {
        label = FixedFieldText(reader.Rest().first(LabelSize), codePage);
        reader.Skip(LabelSize);
    }
    info.Country = *reader.Byte();
    info.SortByCompany = (*reader.Byte() & 0x01) != 0;
    return Decoded<AddressAppInfo>::Of(std::move(info));
}
