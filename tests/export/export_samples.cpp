// Writes the files of a sample export (appointments.ics, todos.ics, addresses.vcf) into
// the folder given, for check_written_files.py to read with other parsers.
#include "export/ICalendarWriter.h"
#include "export/VCardWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

namespace {

Appointment Timed(const QString& description, QDate date, QTime start, QTime end) {
    Appointment appointment;
    appointment.Description = description;
    appointment.Date = date;
    appointment.Start = start;
    appointment.End = end;
    return appointment;
}

Appointment Untimed(const QString& description, QDate date) {
    Appointment appointment;
    appointment.Description = description;
    appointment.Date = date;
    return appointment;
}

QList<Appointment> Appointments() {
    QList<Appointment> list;
    auto meeting =
        Timed(QStringLiteral("Team meeting"), QDate(2007, 1, 2), QTime(10, 0), QTime(11, 0));
    meeting.Repeat = {
        RepeatKind::Weekly, 2, QDate(2007, 6, 30), {false, false, true, false, true}, 0, 0, 0};
    meeting.Exceptions = {QDate(2007, 1, 16), QDate(2007, 3, 1)};
    meeting.Alarm = AppointmentAlarm{15, AlarmUnit::Minutes};
    meeting.UniqueId = 1;
    list << meeting;
    auto club = Timed(QStringLiteral("Book club"), QDate(2007, 1, 10), QTime(19, 0), QTime(21, 0));
    club.Repeat.Kind = RepeatKind::MonthlyByDay;
    club.Repeat.Week = 1;
    club.Repeat.Weekday = 3;
    club.Exceptions = {QDate(2007, 5, 9)};
    club.UniqueId = 2;
    list << club;
    auto rent = Untimed(QStringLiteral("Rent"), QDate(2007, 1, 26));
    rent.Repeat.Kind = RepeatKind::MonthlyByDay;
    rent.Repeat.Week = AppointmentRepeat::LastWeek;
    rent.Repeat.Weekday = 5;
    rent.Repeat.End = QDate(2007, 10, 26);
    rent.Exceptions = {QDate(2007, 6, 29)};
    rent.UniqueId = 3;
    list << rent;
    auto birthday = Untimed(QStringLiteral("Birthday"), QDate(2007, 2, 28));
    birthday.Repeat.Kind = RepeatKind::Yearly;
    birthday.Alarm = AppointmentAlarm{1, AlarmUnit::Days};
    birthday.UniqueId = 4;
    list << birthday;
    auto gym = Timed(QStringLiteral("Gym"), QDate(2007, 1, 1), QTime(8, 0), QTime(9, 0));
    gym.Repeat.Kind = RepeatKind::Daily;
    gym.Repeat.Interval = 3;
    gym.Repeat.End = QDate(2007, 1, 31);
    gym.Alarm = AppointmentAlarm{2, AlarmUnit::Hours};
    gym.UniqueId = 5;
    list << gym;
    auto shifted = Timed(QStringLiteral("Yoga"), QDate(2007, 1, 3), QTime(18, 30), QTime(19, 30));
    shifted.Repeat = {RepeatKind::Weekly,
                      1,
                      QDate(2007, 2, 28),
                      {false, true, false, false, false, true},
                      0,
                      0,
                      1};
    shifted.UniqueId = 6;
    list << shifted;
    auto lunch =
        Timed(QStringLiteral("Lunch with Jo; bring the \"big\" book, and \\ the umbrella \u20ac ")
                  .repeated(3),
              QDate(2007, 7, 4), QTime(12, 0), QTime(13, 15));
    lunch.Note = QStringLiteral("Line one\nLine two, with comma; and semicolon");
    lunch.Flags.Private = true;
    lunch.Flags.Category = 1;
    lunch.UniqueId = 7;
    list << lunch;
    return list;
}

QList<ToDoItem> ToDos() {
    ToDoItem taxes;
    taxes.Description = QStringLiteral("Taxes, finally");
    taxes.Due = QDate(2007, 4, 15);
    taxes.Priority = 1;
    taxes.Note = QStringLiteral("Forms:\nW-2");
    taxes.UniqueId = 11;
    ToDoItem done;
    done.Description = QStringLiteral("Paint the fence");
    done.Priority = 5;
    done.Completed = true;
    done.UniqueId = 12;
    return {taxes, done};
}

QList<Address> Addresses() {
    Address jo;
    jo.Fields[size_t(AddressField::LastName)] = QStringLiteral("M\u00fcller");
    jo.Fields[size_t(AddressField::FirstName)] = QStringLiteral("Jo");
    jo.Fields[size_t(AddressField::Company)] = QStringLiteral("Acme, Inc.");
    jo.Fields[size_t(AddressField::Phone1)] = QStringLiteral("+49 30 1234");
    jo.Fields[size_t(AddressField::Phone2)] = QStringLiteral("jo@example.org");
    jo.Fields[size_t(AddressField::Phone3)] = QStringLiteral("+49 171 5555");
    jo.PhoneLabels = {0, 4, 7, 3, 2};
    jo.ShownPhone = 2;
    jo.Fields[size_t(AddressField::Address)] = QStringLiteral("Hauptstr. 1");
    jo.Fields[size_t(AddressField::City)] = QStringLiteral("Berlin");
    jo.Fields[size_t(AddressField::ZipCode)] = QStringLiteral("10115");
    jo.Fields[size_t(AddressField::Country)] = QStringLiteral("Germany");
    jo.Fields[size_t(AddressField::Custom1)] = QStringLiteral("1970-05-01");
    jo.Fields[size_t(AddressField::Note)] =
        QStringLiteral("Met at the fair;\nlikes tea, not coffee");
    jo.Flags.Category = 1;
    jo.UniqueId = 21;
    Address firm;
    firm.Fields[size_t(AddressField::Company)] = QStringLiteral("Palm Computing");
    firm.Fields[size_t(AddressField::Phone1)] = QStringLiteral("555-0100");
    firm.PhoneLabels = {5, 0, 0, 0, 0};
    firm.UniqueId = 22;
    return {jo, firm};
}

bool Write(const QString& path, const QString& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: export_samples FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    folder.mkpath(QStringLiteral("."));
    CategoryInfo categories;
    categories.Names[0] = QStringLiteral("Unfiled");
    categories.Names[1] = QStringLiteral("Business, old");
    AddressAppInfo appInfo;
    appInfo.Categories = categories;
    appInfo.Labels[size_t(AddressField::Custom1)] = QStringLiteral("Birthday");
    ExportOptions options;
    const bool written = Write(folder.filePath(QStringLiteral("appointments.ics")),
                               AppointmentsAsICalendar(Appointments(), categories, options)) &&
                         Write(folder.filePath(QStringLiteral("todos.ics")),
                               ToDosAsICalendar(ToDos(), categories, options)) &&
                         Write(folder.filePath(QStringLiteral("addresses.vcf")),
                               AddressesAsVCards(Addresses(), appInfo, options));
    return written ? 0 : 1;
}
