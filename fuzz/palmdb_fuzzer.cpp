// The header reader and the record list on any bytes: they either read or throw their
// own exceptions, and what they read keeps the promises of PalmDatabase.h.
#include "FuzzInput.h"
#include "palmdb/PalmDatabase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = InputAsFile(data, size);
    TPalmPDB db(path, false);
    try {
        db.ReadHeader();
    } catch (const EInvalidPalmDatabase&) {
        if (size >= size_t(TPalmDatabase::HeaderSize))
            Broken("a complete header was refused");
        return 0;
    }
    if (db.FileSize() != int64_t(size))
        Broken("the size differs from the file's");
    if (db.Header().Name.size() > 32 || db.Header().Creator.size() > 4 ||
        db.Header().DBType.size() > 4)
        Broken("a header text is longer than its field");
    try {
        db.ReadRecordHeaders();
    } catch (const EInOutError&) {
        if (!db.Records().empty())
            Broken("a failed read left records");
        return 0;
    } catch (const EInvalidPalmDatabase&) {
        return 0;
    }
    if (db.Records().size() != size_t(db.Header().RecordCount))
        Broken("the record list has another length than the header says");
    for (const auto& record : db.Records())
        if (record->Offset < 0 || record->Data)
            Broken("a record entry breaks its promises");
    return 0;
}
