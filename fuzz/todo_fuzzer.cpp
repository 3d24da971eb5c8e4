// The to-do decoder, its app info block and its writers on any bytes.
#include "ExportFuzzing.h"
#include "export/CsvWriter.h"
#include "export/ICalendarWriter.h"
#include "export/ToDoDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const PalmRecordBytes record = InputAsRecord(data, size);
    const auto item = DecodeToDo(record, CodePage());
    CheckDecoded(item);
    CheckDecoded(DecodeToDoAppInfo(record.Data, CodePage()));
    if (!item.Ok())
        return 0;
    if (item.Value->Priority < 1 || item.Value->Priority > 5)
        Broken("a priority out of range was taken");
    if (item.Value->Due && !item.Value->Due->isValid())
        Broken("an invalid due date was taken");
    ExportOptions options;
    options.IncludeDeleted = true;
    if (!ToDosAsICalendar({*item.Value}, CategoryInfo(), options).contains(u"END:VTODO\r\n"))
        Broken("a to-do is not whole");
    ToDosAsCsv({*item.Value}, CategoryInfo(), options);
    return 0;
}
