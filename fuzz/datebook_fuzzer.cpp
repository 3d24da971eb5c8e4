// The appointment decoder, its app info block and the iCalendar writer on any bytes.
#include "ExportFuzzing.h"
#include "export/DatebookDecoder.h"
#include "export/ICalendarWriter.h"
#include "export/RepeatRule.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const PalmRecordBytes record = InputAsRecord(data, size);
    const auto appointment = DecodeAppointment(record, CodePage());
    CheckDecoded(appointment);
    CheckDecoded(DecodeDatebookAppInfo(record.Data, CodePage()));
    if (!appointment.Ok())
        return 0;
    const Appointment& value = *appointment.Value;
    if (!value.Date.isValid() || value.Start.has_value() != value.End.has_value() ||
        (value.Start && *value.End < *value.Start))
        Broken("an unsound date or time was taken");
    if (value.Repeat.Kind != RepeatKind::None &&
        (value.Repeat.Interval < 1 || (value.Repeat.End && *value.Repeat.End < value.Date)))
        Broken("an unsound repeat was taken");
    if (value.Exceptions.size() * 2 > record.Data.size())
        Broken("more exceptions than the record holds");
    if (FirstOccurrence(value) < value.Date)
        Broken("a series starts before its date");
    ExportOptions options;
    options.IncludeDeleted = true;
    if (!AppointmentsAsICalendar({value}, CategoryInfo(), options).contains(u"END:VEVENT\r\n"))
        Broken("an appointment is not whole");
    return 0;
}
