// The decoders against Perl's Palm modules: a Perl script writes databases of every kind
// with Palm::Memo, Palm::Address, Palm::ToDo and Palm::Datebook and prints the bytes of
// each record and app info block beside the modules' own reading of them; the decoders
// must read every field the same from the same bytes.
#include "export/AddressDecoder.h"
#include "export/DatebookDecoder.h"
#include "export/MemoDecoder.h"
#include "export/ToDoDecoder.h"
#include "support/TempFolder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

// The script's output, read once for all tests.
const QJsonObject& PerlDump() {
    static const QJsonObject dump = [] {
        TempFolder work;
        QProcess perl;
        perl.start(QStringLiteral(BRISKO_PERL),
                   {QStringLiteral(BRISKO_PERL_SCRIPT), work.File(QStringLiteral("dbs"))});
        perl.waitForFinished(60000);
        EXPECT_EQ(perl.exitCode(), 0) << perl.readAllStandardError().toStdString();
        return QJsonDocument::fromJson(perl.readAllStandardOutput()).object();
    }();
    return dump;
}

// A JSON text of the script is a byte a character: the record's Windows-1252 bytes.
QString PerlText(const QJsonValue& value) {
    return CodePage().Decode(value.toString().toLatin1());
}

struct PerlRecord {
    QByteArray Bytes;
    PalmRecordBytes Record;
    QJsonObject Perl;
};

QList<PerlRecord> RecordsOf(const QString& database) {
    QList<PerlRecord> records;
    const QJsonArray list = PerlDump()[database][QStringLiteral("records")].toArray();
    for (const auto& entry : list) {
        const QJsonObject object = entry.toObject();
        PerlRecord record;
        record.Bytes = QByteArray::fromHex(object[QStringLiteral("hex")].toString().toLatin1());
        record.Record.Attributes = uint8_t(object[QStringLiteral("attributes")].toInt());
        record.Record.UniqueId = uint32_t(object[QStringLiteral("uid")].toInt());
        record.Perl = object[QStringLiteral("perl")].toObject();
        records << record;
    }
    for (auto& record : records)
        record.Record.Data = record.Bytes;
    return records;
}

QByteArray AppInfoOf(const QString& database) {
    return QByteArray::fromHex(
        PerlDump()[database][QStringLiteral("appinfo_hex")].toString().toLatin1());
}

QJsonObject PerlAppInfoOf(const QString& database) {
    return PerlDump()[database][QStringLiteral("appinfo")].toObject();
}

int Number(const QJsonObject& object, const char* key) {
    return object[QLatin1String(key)].toInt();
}

// The flags and the unique ID, as Palm::PDB reads them from the record list.
void ExpectSameRecordFlags(const RecordFlags& flags, uint32_t uniqueId, const QJsonObject& perl) {
    const QJsonObject attributes = perl[QStringLiteral("attributes")].toObject();
    EXPECT_EQ(flags.Private, attributes.contains(QStringLiteral("private")));
    EXPECT_EQ(flags.Dirty, attributes.contains(QStringLiteral("dirty")));
    EXPECT_EQ(flags.Deleted, attributes.contains(QStringLiteral("deleted")) ||
                                 attributes.contains(QStringLiteral("expunged")));
    EXPECT_EQ(flags.Archived, attributes.contains(QStringLiteral("archive")));
    EXPECT_EQ(flags.Category, Number(perl, "category"));
    EXPECT_EQ(uniqueId, uint32_t(Number(perl, "id")));
}

void ExpectSameCategories(const CategoryInfo& categories, const QJsonObject& perl) {
    const QJsonArray list = perl[QStringLiteral("categories")].toArray();
    ASSERT_EQ(list.size(), CategoryInfo::Count);
    for (int i = 0; i < CategoryInfo::Count; ++i) {
        const QJsonObject category = list[i].toObject();
        EXPECT_EQ(categories.Names[size_t(i)], PerlText(category[QStringLiteral("name")]));
        EXPECT_EQ(categories.Ids[size_t(i)], Number(category, "id"));
        EXPECT_EQ(categories.Renamed[size_t(i)], Number(category, "renamed") != 0);
    }
    EXPECT_EQ(categories.LastUniqueId, Number(perl, "lastUniqueID"));
}

std::optional<QDate> PerlDate(const QJsonObject& object, const char* prefix) {
    const QString day = QLatin1String(prefix) + u"day";
    if (!object.contains(day))
        return std::nullopt;
    return QDate(object[QLatin1String(prefix) + u"year"].toInt(),
                 object[QLatin1String(prefix) + u"month"].toInt(), object[day].toInt());
}

} // namespace

TEST(PerlAgreement, Memos) {
    const auto appInfo = DecodeMemoAppInfo(AppInfoOf(QStringLiteral("MemoDB")), CodePage());
    ASSERT_TRUE(appInfo.Ok()) << appInfo.Error.toStdString();
    const QJsonObject perlAppInfo = PerlAppInfoOf(QStringLiteral("MemoDB"));
    ExpectSameCategories(appInfo.Value->Categories, perlAppInfo);
    EXPECT_EQ(appInfo.Value->SortOrder, Number(perlAppInfo, "sortOrder"));
    const auto records = RecordsOf(QStringLiteral("MemoDB"));
    ASSERT_GE(records.size(), 6);
    for (const auto& record : records) {
        const auto memo = DecodeMemo(record.Record, CodePage());
        ASSERT_TRUE(memo.Ok()) << memo.Error.toStdString();
        EXPECT_EQ(memo.Value->Text, PerlText(record.Perl[QStringLiteral("data")]));
        ExpectSameRecordFlags(memo.Value->Flags, memo.Value->UniqueId, record.Perl);
    }
}

TEST(PerlAgreement, Addresses) {
    const auto appInfo = DecodeAddressAppInfo(AppInfoOf(QStringLiteral("AddressDB")), CodePage());
    ASSERT_TRUE(appInfo.Ok()) << appInfo.Error.toStdString();
    const QJsonObject perlAppInfo = PerlAppInfoOf(QStringLiteral("AddressDB"));
    ExpectSameCategories(appInfo.Value->Categories, perlAppInfo);
    EXPECT_EQ(appInfo.Value->RenamedLabels, uint32_t(Number(perlAppInfo, "dirtyFields")));
    EXPECT_EQ(appInfo.Value->Country, Number(perlAppInfo, "country"));
    EXPECT_EQ(appInfo.Value->SortByCompany, (Number(perlAppInfo, "misc") & 1) != 0);
    // The keys in the order of the block's labels.
    const QStringList keys = {
        QStringLiteral("name"),    QStringLiteral("firstName"), QStringLiteral("company"),
        QStringLiteral("phone1"),  QStringLiteral("phone2"),    QStringLiteral("phone3"),
        QStringLiteral("phone4"),  QStringLiteral("phone5"),    QStringLiteral("address"),
        QStringLiteral("city"),    QStringLiteral("state"),     QStringLiteral("zipCode"),
        QStringLiteral("country"), QStringLiteral("title"),     QStringLiteral("custom1"),
        QStringLiteral("custom2"), QStringLiteral("custom3"),   QStringLiteral("custom4"),
        QStringLiteral("note"),    QStringLiteral("phone6"),    QStringLiteral("phone7"),
        QStringLiteral("phone8")};
    const QJsonObject labels = perlAppInfo[QStringLiteral("fieldLabels")].toObject();
    for (int i = 0; i < AddressAppInfo::LabelCount; ++i)
        EXPECT_EQ(appInfo.Value->Labels[size_t(i)], PerlText(labels[keys[i]])) << i;
    for (int label = 0; label < PhoneLabelCount; ++label)
        EXPECT_EQ(appInfo.Value->PhoneLabelName(label),
                  PerlText(labels[u"phone" + QString::number(label + 1)]));
    EXPECT_EQ(appInfo.Value->FieldLabel(AddressField::Custom3), u"Spouse, \u20AC");

    const auto records = RecordsOf(QStringLiteral("AddressDB"));
    ASSERT_GE(records.size(), 40);
    for (const auto& record : records) {
        const auto address = DecodeAddress(record.Record, CodePage());
        ASSERT_TRUE(address.Ok()) << address.Error.toStdString();
        const QJsonObject fields = record.Perl[QStringLiteral("fields")].toObject();
        for (int i = 0; i < AddressFieldCount; ++i)
            EXPECT_EQ(address.Value->Fields[size_t(i)], PerlText(fields[keys[i]]))
                << keys[i].toStdString();
        const QJsonObject phoneLabels = record.Perl[QStringLiteral("phoneLabel")].toObject();
        for (int i = 0; i < AddressPhoneCount; ++i)
            EXPECT_EQ(address.Value->PhoneLabels[size_t(i)],
                      phoneLabels[u"phone" + QString::number(i + 1)].toInt());
        EXPECT_EQ(address.Value->ShownPhone, Number(phoneLabels, "display"));
        ExpectSameRecordFlags(address.Value->Flags, address.Value->UniqueId, record.Perl);
    }
}

TEST(PerlAgreement, ToDos) {
    const auto appInfo = DecodeToDoAppInfo(AppInfoOf(QStringLiteral("ToDoDB")), CodePage());
    ASSERT_TRUE(appInfo.Ok()) << appInfo.Error.toStdString();
    const QJsonObject perlAppInfo = PerlAppInfoOf(QStringLiteral("ToDoDB"));
    ExpectSameCategories(appInfo.Value->Categories, perlAppInfo);
    EXPECT_EQ(appInfo.Value->DirtyAppInfo, Number(perlAppInfo, "dirty_appinfo"));
    EXPECT_EQ(appInfo.Value->SortOrder, Number(perlAppInfo, "sort_order"));
    const auto records = RecordsOf(QStringLiteral("ToDoDB"));
    ASSERT_GE(records.size(), 30);
    for (const auto& record : records) {
        const auto item = DecodeToDo(record.Record, CodePage());
        ASSERT_TRUE(item.Ok()) << item.Error.toStdString();
        EXPECT_EQ(item.Value->Due, PerlDate(record.Perl, "due_"));
        EXPECT_EQ(item.Value->Priority, Number(record.Perl, "priority"));
        EXPECT_EQ(item.Value->Completed, Number(record.Perl, "completed") != 0);
        EXPECT_EQ(item.Value->Description, PerlText(record.Perl[QStringLiteral("description")]));
        EXPECT_EQ(item.Value->Note, PerlText(record.Perl[QStringLiteral("note")]));
        ExpectSameRecordFlags(item.Value->Flags, item.Value->UniqueId, record.Perl);
    }
}

namespace {

void ExpectSameRepeat(const Appointment& appointment, const QJsonObject& perl) {
    const QJsonObject repeat = perl[QStringLiteral("repeat")].toObject();
    const int kind = repeat.isEmpty() ? 0 : Number(repeat, "type");
    EXPECT_EQ(int(appointment.Repeat.Kind), kind);
    if (kind == 0)
        return;
    EXPECT_EQ(appointment.Repeat.Interval, Number(repeat, "frequency"));
    EXPECT_EQ(appointment.Repeat.End, PerlDate(repeat, "end_"));
    if (appointment.Repeat.Kind == RepeatKind::Weekly) {
        const QJsonArray days = repeat[QStringLiteral("repeat_days")].toArray();
        for (int day = 0; day < 7; ++day)
            EXPECT_EQ(appointment.Repeat.Days[size_t(day)], days[day].toInt() != 0) << day;
        EXPECT_EQ(appointment.Repeat.FirstDayOfWeek, Number(repeat, "start_of_week"));
    } else if (appointment.Repeat.Kind == RepeatKind::MonthlyByDay) {
        EXPECT_EQ(appointment.Repeat.Week, Number(repeat, "weeknum"));
        EXPECT_EQ(appointment.Repeat.Weekday, Number(repeat, "daynum"));
    }
}

} // namespace

TEST(PerlAgreement, Appointments) {
    const auto appInfo = DecodeDatebookAppInfo(AppInfoOf(QStringLiteral("DatebookDB")), CodePage());
    ASSERT_TRUE(appInfo.Ok()) << appInfo.Error.toStdString();
    const QJsonObject perlAppInfo = PerlAppInfoOf(QStringLiteral("DatebookDB"));
    ExpectSameCategories(appInfo.Value->Categories, perlAppInfo);
    EXPECT_EQ(appInfo.Value->StartOfWeek, Number(perlAppInfo, "start_of_week"));
    const auto records = RecordsOf(QStringLiteral("DatebookDB"));
    ASSERT_GE(records.size(), 60);
    int repeatKinds = 0;
    for (const auto& record : records) {
        const auto appointment = DecodeAppointment(record.Record, CodePage());
        ASSERT_TRUE(appointment.Ok()) << appointment.Error.toStdString();
        const Appointment& value = *appointment.Value;
        const QJsonObject& perl = record.Perl;
        SCOPED_TRACE(record.Bytes.toHex().toStdString());
        EXPECT_EQ(value.Date, PerlDate(perl, ""));
        if (Number(perl, "start_hour") == 0xFF) {
            EXPECT_FALSE(value.Start.has_value());
        } else {
            EXPECT_EQ(value.Start, QTime(Number(perl, "start_hour"), Number(perl, "start_minute")));
            EXPECT_EQ(value.End, QTime(Number(perl, "end_hour"), Number(perl, "end_minute")));
        }
        const QJsonObject alarm = perl[QStringLiteral("alarm")].toObject();
        ASSERT_EQ(value.Alarm.has_value(), !alarm.isEmpty());
        if (value.Alarm) {
            EXPECT_EQ(value.Alarm->Advance, Number(alarm, "advance"));
            EXPECT_EQ(int(value.Alarm->Unit), Number(alarm, "unit"));
        }
        ExpectSameRepeat(value, perl);
        repeatKinds |= 1 << int(value.Repeat.Kind);
        const QJsonArray exceptions = perl[QStringLiteral("exceptions")].toArray();
        ASSERT_EQ(value.Exceptions.size(), exceptions.size());
        for (qsizetype i = 0; i < exceptions.size(); ++i) {
            const QJsonArray day = exceptions[i].toArray();
            EXPECT_EQ(value.Exceptions[i], QDate(day[2].toInt(), day[1].toInt(), day[0].toInt()));
        }
        EXPECT_EQ(value.Description, PerlText(perl[QStringLiteral("description")]));
        EXPECT_EQ(value.Note, PerlText(perl[QStringLiteral("note")]));
        ExpectSameRecordFlags(value.Flags, value.UniqueId, perl);
    }
    EXPECT_EQ(repeatKinds, 0x3F) << "every repeat kind was written";
}
