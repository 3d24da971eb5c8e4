#include "export/RecordPreview.h"

#include "export/AddressDecoder.h"
#include "export/DatebookDecoder.h"
#include "export/DecodeErrors.h"
#include "export/ExportRun.h"
#include "export/MemoDecoder.h"
#include "export/PalmDocDecoder.h"
#include "export/ToDoDecoder.h"
#include "i18n/Placeholders.h"
#include "i18n/Translate.h"

#include <QStringList>
#include <array>

namespace {

// Lines of "Label: value"; a value of several lines starts on the line after its label.
class PreviewLines {
public:
    void Add(const QString& label, const QString& value) {
        if (value.contains(u'\n'))
            FLines << label + u':' << value;
        else
            FLines << label + QStringLiteral(": ") + value;
    }
    void AddIfAny(const QString& label, const QString& value) {
        if (!value.isEmpty())
            Add(label, value);
    }
    void Text(const QString& text) { FLines << text; }
    void Blank() { FLines << QString(); }
    QString Joined() const { return FLines.join(u'\n'); }

private:
    QStringList FLines;
};

QString YesNo(bool value) {
    return value ? Translated("yes") : Translated("no");
}

QString IsoDate(const QDate& date) {
    return date.toString(Qt::ISODate);
}

// A text looked up for the count n, with n filled in.
QString WithCount(const QString& text, qint64 n) {
    return FillPlaceholders(text, {{u"%n", QString::number(n)}});
}

// The marks every kind shares: deleted, or the category (its name, or its number where
// the app info names none); and private.
void AddRecordState(PreviewLines& lines, const RecordFlags& flags, const CategoryInfo* categories) {
    if (flags.Deleted) {
        lines.Add(Translated("Deleted"),
                  flags.Archived ? Translated("yes, kept in the archive") : Translated("yes"));
    } else if (categories) {
        const QString name = categories->NameOf(flags.Category);
        lines.Add(Translated("Category"), name.isEmpty() ? QString::number(flags.Category) : name);
    }
    lines.Add(Translated("Private"), YesNo(flags.Private));
    lines.Blank();
}

QString MemoPreview(const PreviewDatabase& database, const PalmRecordBytes& record,
                    const CodePage& codePage) {
    const auto memo = DecodeMemo(record, codePage);
    if (!memo.Ok())
        return UnreadableRecordText(memo.Error);
    const MemoAppInfo info =
        DecodeMemoAppInfo(database.AppInfo, codePage).Value.value_or(MemoAppInfo());
    PreviewLines lines;
    AddRecordState(lines, memo.Value->Flags, &info.Categories);
    lines.Text(memo.Value->Text);
    return lines.Joined();
}

// The handheld's own names of the eight phone labels, for an app info block without them.
constexpr std::array<const char*, PhoneLabelCount> PhoneLabelNames = {
    N_("Work"),   N_("Home"), N_("Fax"),   N_("Other"),
    N_("E-mail"), N_("Main"), N_("Pager"), N_("Mobile")};

// The labels of the fields that cannot be renamed; phones and custom fields are named
// from the app info.
constexpr std::array<const char*, AddressFieldCount> FieldLabels = {
    N_("Last name"), N_("First name"), N_("Company"), nullptr,       nullptr,
    nullptr,         nullptr,          nullptr,       N_("Address"), N_("City"),
    N_("State"),     N_("Zip code"),   N_("Country"), N_("Title"),   nullptr,
    nullptr,         nullptr,          nullptr,       N_("Note")};

QString PhoneLabel(const AddressAppInfo& info, int label) {
    const QString name = info.PhoneLabelName(label);
    return name.isEmpty() ? Translated(PhoneLabelNames[size_t(label)]) : name;
}

QString FieldLabel(const AddressAppInfo& info, const Address& address, int field) {
    const int phone = field - int(AddressField::Phone1);
    if (phone >= 0 && phone < AddressPhoneCount)
        return PhoneLabel(info, address.PhoneLabels[size_t(phone)]);
    const int custom = field - int(AddressField::Custom1);
    if (custom >= 0 && custom < AddressCustomCount) {
        const QString renamed = info.Labels[size_t(field)];
        if ((info.RenamedLabels & (1u << field)) && !renamed.isEmpty())
            return renamed;
        return FillPlaceholders(Translated("Custom %n"), {{u"%n", QString::number(custom + 1)}});
    }
    return Translated(FieldLabels[size_t(field)]);
}

QString AddressPreview(const PreviewDatabase& database, const PalmRecordBytes& record,
                       const CodePage& codePage) {
    const auto address = DecodeAddress(record, codePage);
    if (!address.Ok())
        return UnreadableRecordText(address.Error);
    const AddressAppInfo info =
        DecodeAddressAppInfo(database.AppInfo, codePage).Value.value_or(AddressAppInfo());
    PreviewLines lines;
    AddRecordState(lines, address.Value->Flags, &info.Categories);
    const int note = int(AddressField::Note);
    for (int field = 0; field < note; ++field)
        lines.AddIfAny(FieldLabel(info, *address.Value, field),
                       address.Value->Fields[size_t(field)]);
    const int shown = address.Value->ShownPhone;
    if (!address.Value->Fields[size_t(int(AddressField::Phone1) + shown)].isEmpty())
        lines.Add(Translated("Shown in the list"),
                  PhoneLabel(info, address.Value->PhoneLabels[size_t(shown)]));
    // Last, as it may run over several lines.
    lines.AddIfAny(FieldLabel(info, *address.Value, note), address.Value->Fields[size_t(note)]);
    return lines.Joined();
}

QString ToDoPreview(const PreviewDatabase& database, const PalmRecordBytes& record,
                    const CodePage& codePage) {
    const auto item = DecodeToDo(record, codePage);
    if (!item.Ok())
        return UnreadableRecordText(item.Error);
    const ToDoAppInfo info =
        DecodeToDoAppInfo(database.AppInfo, codePage).Value.value_or(ToDoAppInfo());
    PreviewLines lines;
    AddRecordState(lines, item.Value->Flags, &info.Categories);
    lines.Add(Translated("Description"), item.Value->Description);
    lines.Add(Translated("Due"), item.Value->Due ? IsoDate(*item.Value->Due) : Translated("none"));
    lines.Add(Translated("Priority"), QString::number(item.Value->Priority));
    lines.Add(Translated("Completed"), YesNo(item.Value->Completed));
    lines.AddIfAny(Translated("Note"), item.Value->Note);
    return lines.Joined();
}

// Sunday first, as the handheld counts.
constexpr std::array<const char*, 7> WeekdayNames = {N_("Sunday"),    N_("Monday"),   N_("Tuesday"),
                                                     N_("Wednesday"), N_("Thursday"), N_("Friday"),
                                                     N_("Saturday")};
// The weeks of a monthly repeat: the first to fourth, and the last.
constexpr std::array<const char*, AppointmentRepeat::LastWeek + 1> WeekNames = {
    N_("first"), N_("second"), N_("third"), N_("fourth"), N_("last")};

// "Every 2 weeks on Monday, Wednesday until 2027-03-01"; empty when it does not repeat.
QString RepeatText(const Appointment& appointment) {
    const AppointmentRepeat& repeat = appointment.Repeat;
    const bool each = repeat.Interval == 1;
    const auto interval = ulong(qMax(1, repeat.Interval));
    QString text;
    QString days;
    switch (repeat.Kind) {
    case RepeatKind::None:
        return QString();
    case RepeatKind::Daily:
        text = each ? Translated("Every day")
                    : TranslatedPlural("Every %n day", "Every %n days", interval);
        break;
    case RepeatKind::Weekly: {
        // In the order of the week the handheld was set to.
        QStringList names;
        const int first = qBound(0, repeat.FirstDayOfWeek, 6);
        for (int k = 0; k < 7; ++k)
            if (repeat.Days[size_t((first + k) % 7)])
                names << Translated(WeekdayNames[size_t((first + k) % 7)]);
        days = names.join(QStringLiteral(", "));
        text = each ? Translated("Every week on %a")
                    : TranslatedPlural("Every %n week on %a", "Every %n weeks on %a", interval);
        break;
    }
    case RepeatKind::MonthlyByDay:
        days = Translated(WeekdayNames[size_t(qBound(0, repeat.Weekday, 6))]);
        text = each ? Translated("Every month on the %w %a")
                    : TranslatedPlural("Every %n month on the %w %a",
                                       "Every %n months on the %w %a", interval);
        break;
    case RepeatKind::MonthlyByDate:
        text = each ? Translated("Every month on day %d")
                    : TranslatedPlural("Every %n month on day %d", "Every %n months on day %d",
                                       interval);
        break;
    case RepeatKind::Yearly:
        text = each ? Translated("Every year")
                    : TranslatedPlural("Every %n year", "Every %n years", interval);
        break;
    }
    text =
        FillPlaceholders(text, {{u"%n", QString::number(repeat.Interval)},
                                {u"%a", days},
                                {u"%w", Translated(WeekNames[size_t(qBound(0, repeat.Week, 4))])},
                                {u"%d", QString::number(appointment.Date.day())}});
    if (!repeat.End)
        return text;
    return FillPlaceholders(Translated("%r until %d"),
                            {{u"%r", text}, {u"%d", IsoDate(*repeat.End)}});
}

// "5 minutes before"; the handheld counts the advance before the start, so a negative
// one lies after it.
QString AlarmText(const AppointmentAlarm& alarm) {
    const bool after = alarm.Advance < 0;
    const auto n = ulong(qAbs(alarm.Advance));
    switch (alarm.Unit) {
    case AlarmUnit::Minutes:
        return after ? WithCount(TranslatedPlural("%n minute after", "%n minutes after", n), n)
                     : WithCount(TranslatedPlural("%n minute before", "%n minutes before", n), n);
    case AlarmUnit::Hours:
        return after ? WithCount(TranslatedPlural("%n hour after", "%n hours after", n), n)
                     : WithCount(TranslatedPlural("%n hour before", "%n hours before", n), n);
    case AlarmUnit::Days:
        return after ? WithCount(TranslatedPlural("%n day after", "%n days after", n), n)
                     : WithCount(TranslatedPlural("%n day before", "%n days before", n), n);
    }
    return QString();
}

QString AppointmentPreview(const PalmRecordBytes& record, const CodePage& codePage) {
    const auto appointment = DecodeAppointment(record, codePage);
    if (!appointment.Ok())
        return UnreadableRecordText(appointment.Error);
    const Appointment& a = *appointment.Value;
    PreviewLines lines;
    // The Date Book files its appointments in no category.
    AddRecordState(lines, a.Flags, nullptr);
    lines.Add(Translated("Date"), IsoDate(a.Date));
    const QString format = QStringLiteral("HH:mm");
    lines.Add(Translated("Time"),
              a.Start ? a.Start->toString(format) + u'\x2013' + a.End->toString(format)
                      : Translated("no time"));
    lines.AddIfAny(Translated("Repeat"), RepeatText(a));
    QStringList exceptions;
    for (const QDate& day : a.Exceptions)
        exceptions << IsoDate(day);
    lines.AddIfAny(Translated("Exceptions"), exceptions.join(QStringLiteral(", ")));
    if (a.Alarm)
        lines.Add(Translated("Alarm"), AlarmText(*a.Alarm));
    lines.Add(Translated("Description"), a.Description);
    lines.AddIfAny(Translated("Note"), a.Note);
    return lines.Joined();
}

std::optional<QString> EbookPreview(const PreviewDatabase& database, int index,
                                    const PalmRecordBytes& record, const CodePage& codePage) {
    if (index == 0) {
        const auto header = DecodePalmDocHeader(record.Data);
        if (!header.Ok())
            return UnreadableRecordText(header.Error);
        const PalmDocHeader& h = *header.Value;
        PreviewLines lines;
        lines.Add(Translated("Version"),
                  QString::number(h.Version) + QStringLiteral(" (") +
                      (h.Version == PalmDocHeader::Compressed ? Translated("compressed")
                                                              : Translated("not compressed")) +
                      u')');
        lines.Add(Translated("Text length"),
                  WithCount(TranslatedPlural("%n byte", "%n bytes", h.TextLength), h.TextLength));
        lines.Add(Translated("Text records"), QString::number(h.RecordCount));
        const auto size = ulong(h.RecordSize);
        lines.Add(Translated("Record size"),
                  WithCount(TranslatedPlural("%n byte", "%n bytes", size), qint64(size)));
        return lines.Joined();
    }
    const auto header = DecodePalmDocHeader(database.EbookHeader);
    if (!header.Ok())
        return UnreadableRecordText(
            Translated("the e-book's first record, which tells how its text is stored, cannot "
                       "be read"));
    if (index > header.Value->RecordCount)
        return std::nullopt;
    const int limit = header.Value->RecordLimit();
    QByteArray text;
    if (header.Value->Version == PalmDocHeader::Plain) {
        if (record.Data.size() > limit)
            return UnreadableRecordText(EbookRecordTooLongText(limit));
        text = record.Data.toByteArray();
    } else {
        const QString error = DecompressPalmDocRecord(record.Data, limit, text);
        if (!error.isEmpty())
            return UnreadableRecordText(error);
    }
    return codePage.Decode(text);
}

} // namespace

bool HasRecordPreview(const std::string& type, const std::string& creator) {
    return KindOf(type, creator) != ExportKind::Unknown;
}

std::optional<QString> PreviewRecord(const PreviewDatabase& database, int index,
                                     const PalmRecordBytes& record, const CodePage& codePage) {
    const ExportKind kind = KindOf(database.Type, database.Creator);
    if (kind == ExportKind::Unknown || index < 0)
        return std::nullopt;
    // The handheld drops the bytes of a record deleted since the last sync.
    if (FlagsOfAttributes(record.Attributes).Deleted && record.Data.isEmpty())
        return Translated("The record is deleted; the file keeps none of its bytes.");
    switch (kind) {
    case ExportKind::Memos:
        return MemoPreview(database, record, codePage);
    case ExportKind::Addresses:
        return AddressPreview(database, record, codePage);
    case ExportKind::ToDos:
        return ToDoPreview(database, record, codePage);
    case ExportKind::Appointments:
        return AppointmentPreview(record, codePage);
    case ExportKind::EBook:
        return EbookPreview(database, index, record, codePage);
    case ExportKind::Unknown:
        break;
    }
    return std::nullopt;
}

QString UnreadableRecordText(const QString& why) {
    return FillPlaceholders(Translated("This record cannot be read: %s"), {{u"%s", why}});
}
