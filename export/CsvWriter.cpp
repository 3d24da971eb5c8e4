#include "export/CsvWriter.h"

#include "common/CsvRow.h"
#include "i18n/Placeholders.h"
#include "i18n/Translate.h"

namespace {

QString YesNo(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

// The columns every kind starts with.
QStringList RecordColumns(const RecordFlags& flags, const CategoryInfo& categories) {
    return {categories.NameOf(flags.Category), YesNo(flags.Private)};
}

QStringList RecordHeader() {
    return {Translated("Category"), Translated("Private")};
}

} // namespace

QString MemosAsCsv(const QList<Memo>& memos, const CategoryInfo& categories,
                   const ExportOptions& options) {
    QString text = CsvRow(RecordHeader() << Translated("Memo"));
    for (const Memo& memo : memos)
        if (RecordIsExported(memo.Flags, options.IncludeDeleted))
            text += CsvRow(RecordColumns(memo.Flags, categories) << memo.Text);
    return text;
}

QString AddressesAsCsv(const QList<Address>& addresses, const AddressAppInfo& appInfo,
                       const ExportOptions& options) {
    QStringList header = RecordHeader();
    for (int i = 0; i < AddressFieldCount; ++i) {
        const auto field = AddressField(i);
        if (field >= AddressField::Phone1 && field <= AddressField::Phone5) {
            const QString number = QString::number(i - int(AddressField::Phone1) + 1);
            header << FillPlaceholders(Translated("Phone %d label"), {{u"%d", number}})
                   << FillPlaceholders(Translated("Phone %d"), {{u"%d", number}});
        } else {
            header << appInfo.FieldLabel(field);
        }
    }
    header << Translated("Shown phone");
    QString text = CsvRow(header);
    for (const Address& address : addresses) {
        if (!RecordIsExported(address.Flags, options.IncludeDeleted))
            continue;
        QStringList row = RecordColumns(address.Flags, appInfo.Categories);
        for (int i = 0; i < AddressFieldCount; ++i) {
            const auto field = AddressField(i);
            if (field >= AddressField::Phone1 && field <= AddressField::Phone5)
                row << appInfo.PhoneLabelName(
                    address.PhoneLabels[size_t(i - int(AddressField::Phone1))]);
            row << address.Fields[size_t(i)];
        }
        row << QString::number(address.ShownPhone + 1);
        text += CsvRow(row);
    }
    return text;
}

QString ToDosAsCsv(const QList<ToDoItem>& items, const CategoryInfo& categories,
                   const ExportOptions& options) {
    QString text = CsvRow(RecordHeader()
                          << Translated("Completed") << Translated("Priority") << Translated("Due")
                          << Translated("Description") << Translated("Note"));
    for (const ToDoItem& item : items) {
        if (!RecordIsExported(item.Flags, options.IncludeDeleted))
            continue;
        text += CsvRow(RecordColumns(item.Flags, categories)
                       << YesNo(item.Completed) << QString::number(item.Priority)
                       << (item.Due ? item.Due->toString(Qt::ISODate) : QString())
                       << item.Description << item.Note);
    }
    return text;
}
