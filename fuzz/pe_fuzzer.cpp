// The PE export-table reader on any bytes: a table or a refusal with its reason.
#include "FuzzInput.h"
#include "palmdesktop/PeExports.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const PeExportTable table = ReadPeExports(InputBytes(data, size));
    if (table.Valid != table.Error.empty())
        Broken("a table is valid with an error, or refused without one");
    if (!table.Valid && !table.Exports.empty())
        Broken("a refused table has exports");
    for (const PeExport& e : table.Exports)
        if (e.Name.size() > 1024 || e.Name.find('\0') != std::string::npos)
            Broken("an export name is longer than allowed or holds a NUL");
    return 0;
}
