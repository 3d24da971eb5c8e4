// The memo decoder, its app info block and its writers on any bytes.
#include "ExportFuzzing.h"
#include "export/CsvWriter.h"
#include "export/MemoDecoder.h"
#include "export/MemoFileNames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const PalmRecordBytes record = InputAsRecord(data, size);
    const auto memo = DecodeMemo(record, CodePage());
    CheckDecoded(memo);
    const auto appInfo = DecodeMemoAppInfo(record.Data, CodePage());
    CheckDecoded(appInfo);
    if (!memo.Ok())
        return 0;
    if (memo.Value->Text.size() > record.Data.size())
        Broken("the text is longer than the record");
    const CategoryInfo categories = appInfo.Ok() ? appInfo.Value->Categories : CategoryInfo();
    ExportOptions options;
    options.IncludeDeleted = true;
    if (MemosAsCsv({*memo.Value}, categories, options).count(u"\r\n") < 2)
        Broken("a memo is missing from the CSV");
    const QString path = PlanMemoFiles({*memo.Value}, categories).value(0);
    if (path.count(u'/') != 1 || path.contains(u"\\") || path.startsWith(u'.'))
        Broken("a memo's file leaves its category folder");
    return 0;
}
