// The e-book expansion on any bytes: the first two bytes are the limit, the rest one
// compressed record; and the whole book, its
// records separated by the byte FF.
#include "ExportFuzzing.h"
#include "export/PalmDocDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const int limit = data[0] << 8 | data[1];
    const QByteArray input = InputBytes(data + 2, size - 2);
    QByteArray out("earlier");
    const QString error = DecompressPalmDocRecord(input, limit, out);
    if (out.size() - 7 > limit)
        Broken("a record expanded past its limit");
    if (!out.startsWith("earlier"))
        Broken("an earlier record was changed");
    if (error.isEmpty() && out.size() - 7 > 10 * input.size())
        Broken("a record expanded beyond what its bytes can say");

    const QList<QByteArray> parts = input.split('\xFF');
    QList<QByteArrayView> records;
    for (qsizetype i = 1; i < parts.size(); ++i)
        records << parts[i];
    CheckDecoded(DecodePalmDocText(parts[0], records, CodePage()));
    return 0;
}
