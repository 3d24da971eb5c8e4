// Address Book (AddressDB, creator "addr", type "DATA"). A record: a long of phone-label
// nibbles (phone 1..5, then the phone shown in the list), a long of field bits (which of
// the 19 fields follow), the company's offset, then the present fields as NUL-ended texts.
// The app info block adds the field labels (renamed custom fields among them) and the
// names of the eight phone labels.
#pragma once

#include "export/CategoryInfo.h"
#include "export/CodePage.h"
#include "export/Decoded.h"
#include "export/RecordBytes.h"

#include <QString>
#include <array>

enum class AddressField {
    LastName,
    FirstName,
    Company,
    Phone1,
    Phone2,
    Phone3,
    Phone4,
    Phone5,
    Address,
    City,
    State,
    ZipCode,
    Country,
    Title,
    Custom1,
    Custom2,
    Custom3,
    Custom4,
    Note
};
inline constexpr int AddressFieldCount = 19;
inline constexpr int AddressPhoneCount = 5;
inline constexpr int AddressCustomCount = 4;
// Work, Home, Fax, Other, E-mail, Main, Pager, Mobile.
inline constexpr int PhoneLabelCount = 8;

struct Address {
    std::array<QString, AddressFieldCount> Fields;
    std::array<int, AddressPhoneCount> PhoneLabels{}; // 0..7, an index of the label names
    int ShownPhone = 0;                               // 0..4: which phone the list shows
    RecordFlags Flags;
    uint32_t UniqueId = 0;

    const QString& Field(AddressField field) const { return Fields[size_t(field)]; }
};

struct AddressAppInfo {
    static constexpr int LabelCount = 22;
    CategoryInfo Categories;
    uint32_t RenamedLabels = 0;
    // The 19 fields' labels, then those of the phone labels Main, Pager and Mobile.
    std::array<QString, LabelCount> Labels;
    uint8_t Country = 0;
    bool SortByCompany = false;

    QString FieldLabel(AddressField field) const { return Labels[size_t(field)]; }
    // The name of phone label 0..7.
    QString PhoneLabelName(int label) const;
};

Decoded<Address> DecodeAddress(const PalmRecordBytes& record, const CodePage& codePage);
Decoded<AddressAppInfo> DecodeAddressAppInfo(QByteArrayView appInfo, const CodePage& codePage);
