// Shared by the decoder fuzz targets: the input as a record (its first byte the attribute
// byte), and the promise every decoder keeps: a value or an error text, never both.
#pragma once

#include "FuzzInput.h"
#include "export/Decoded.h"
#include "export/RecordBytes.h"

inline PalmRecordBytes InputAsRecord(const uint8_t* data, size_t size) {
    if (size == 0)
        return PalmRecordBytes{};
    return PalmRecordBytes{
        QByteArrayView(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1)), data[0], 1};
}

template <typename T> void CheckDecoded(const Decoded<T>& decoded) {
    if (decoded.Ok() == !decoded.Error.isEmpty())
        Broken("a decoder returned both a value and an error, or neither");
}
