#include "export/VCardWriter.h"

#include "export/ContentLines.h"

#include <QStringList>

namespace {

constexpr int EmailLabel = 4;

// TEL types of the labels Work, Home, Fax, Other, E-mail (no TEL), Main, Pager, Mobile.
// "MAIN" is no type RFC 2426 lists, but the one contacts programs read as the main number.
const QString& PhoneTypes(int label) {
    static const std::array<QString, PhoneLabelCount> types = {
        QStringLiteral("WORK,VOICE"), QStringLiteral("HOME,VOICE"), QStringLiteral("FAX"),
        QStringLiteral("VOICE"),      QStringLiteral("INTERNET"),   QStringLiteral("MAIN"),
        QStringLiteral("PAGER"),      QStringLiteral("CELL")};
    static const QString other = QStringLiteral("VOICE");
    return label >= 0 && label < PhoneLabelCount ? types[size_t(label)] : other;
}

QString Components(std::initializer_list<QString> parts) {
    QStringList escaped;
    for (const QString& part : parts)
        escaped << EscapedText(part);
    return escaped.join(u';');
}

void AddPhones(ContentLines& lines, const Address& address) {
    for (int i = 0; i < AddressPhoneCount; ++i) {
        const QString& value = address.Fields[size_t(int(AddressField::Phone1) + i)];
        if (value.isEmpty())
            continue;
        const int label = address.PhoneLabels[size_t(i)];
        QString types = PhoneTypes(label);
        if (i == address.ShownPhone)
            types += QStringLiteral(",PREF");
        const QString name = label == EmailLabel ? QStringLiteral("EMAIL") : QStringLiteral("TEL");
        lines.Add(name + u";TYPE=" + types, EscapedText(value));
    }
}

void AddCard(ContentLines& lines, const Address& address, const AddressAppInfo& appInfo) {
    const auto field = [&](AddressField which) {
        return address.Field(which);
    };
    lines.Add(QStringLiteral("BEGIN"), QStringLiteral("VCARD"));
    lines.Add(QStringLiteral("VERSION"), QStringLiteral("3.0"));
    lines.Add(
        QStringLiteral("N"),
        Components({field(AddressField::LastName), field(AddressField::FirstName), {}, {}, {}}));
    lines.Add(QStringLiteral("FN"), EscapedText(FormattedName(address)));
    lines.AddText(QStringLiteral("ORG"), field(AddressField::Company));
    lines.AddText(QStringLiteral("TITLE"), field(AddressField::Title));
    AddPhones(lines, address);
    const QString street = field(AddressField::Address);
    const QString place = street + field(AddressField::City) + field(AddressField::State) +
                          field(AddressField::ZipCode) + field(AddressField::Country);
    if (!place.isEmpty())
        lines.Add(QStringLiteral("ADR"), Components({{},
                                                     {},
                                                     street,
                                                     field(AddressField::City),
                                                     field(AddressField::State),
                                                     field(AddressField::ZipCode),
                                                     field(AddressField::Country)}));
    for (int i = 0; i < AddressCustomCount; ++i) {
        const auto custom = AddressField(int(AddressField::Custom1) + i);
        if (!field(custom).isEmpty())
            lines.Add(u"X-PALM-CUSTOM" + QString::number(i + 1) + u";X-LABEL=" +
                          ParameterValue(appInfo.FieldLabel(custom)),
                      EscapedText(field(custom)));
    }
    lines.AddText(QStringLiteral("NOTE"), field(AddressField::Note));
    if (address.Flags.Category != 0)
        lines.AddText(QStringLiteral("CATEGORIES"),
                      appInfo.Categories.NameOf(address.Flags.Category));
    if (address.Flags.Private)
        lines.Add(QStringLiteral("CLASS"), QStringLiteral("PRIVATE"));
    lines.Add(QStringLiteral("UID"),
              u"palm-addr-" + QString::number(address.UniqueId) + u"@brisko");
    lines.Add(QStringLiteral("END"), QStringLiteral("VCARD"));
}

} // namespace

QString FormattedName(const Address& address) {
    const QString name =
        QStringList{address.Field(AddressField::FirstName), address.Field(AddressField::LastName)}
            .join(u' ')
            .trimmed();
    if (!name.isEmpty())
        return name;
    if (!address.Field(AddressField::Company).isEmpty())
        return address.Field(AddressField::Company);
    for (int i = 0; i < AddressPhoneCount; ++i)
        if (!address.Fields[size_t(int(AddressField::Phone1) + i)].isEmpty())
            return address.Fields[size_t(int(AddressField::Phone1) + i)];
    return QString();
}

QString AddressesAsVCards(const QList<Address>& addresses, const AddressAppInfo& appInfo,
                          const ExportOptions& options) {
    ContentLines lines;
    for (const Address& address : addresses)
        if (RecordIsExported(address.Flags, options.IncludeDeleted))
            AddCard(lines, address, appInfo);
    return lines.Text();
}
