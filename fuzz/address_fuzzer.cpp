// The address decoder, its app info block and its writers on any bytes.
#include "ExportFuzzing.h"
#include "export/AddressDecoder.h"
#include "export/CsvWriter.h"
#include "export/VCardWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const PalmRecordBytes record = InputAsRecord(data, size);
    const auto address = DecodeAddress(record, CodePage());
    CheckDecoded(address);
    const auto appInfo = DecodeAddressAppInfo(record.Data, CodePage());
    CheckDecoded(appInfo);
    if (!address.Ok())
        return 0;
    for (const int label : address.Value->PhoneLabels)
        if (label < 0 || label >= PhoneLabelCount)
            Broken("a phone label out of range was taken");
    if (address.Value->ShownPhone < 0 || address.Value->ShownPhone >= AddressPhoneCount)
        Broken("the shown phone is out of range");
    const AddressAppInfo labels = appInfo.Ok() ? *appInfo.Value : AddressAppInfo();
    ExportOptions options;
    options.IncludeDeleted = true;
    const QString cards = AddressesAsVCards({*address.Value}, labels, options);
    if (!cards.startsWith(u"BEGIN:VCARD\r\n") || !cards.endsWith(u"END:VCARD\r\n"))
        Broken("a card is not whole");
    AddressesAsCsv({*address.Value}, labels, options);
    return 0;
}
