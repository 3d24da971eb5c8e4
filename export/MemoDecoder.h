// Memo Pad (MemoDB, creator "memo", type "DATA"): a record is the memo's text and its NUL.
#pragma once

#include "export/CategoryInfo.h"
#include "export/CodePage.h"
#include "export/Decoded.h"
#include "export/RecordBytes.h"

#include <QString>

struct Memo {
    QString Text;
    RecordFlags Flags;
    uint32_t UniqueId = 0;
};

struct MemoAppInfo {
    CategoryInfo Categories;
    uint8_t SortOrder = 0;
};

Decoded<Memo> DecodeMemo(const PalmRecordBytes& record, const CodePage& codePage);
Decoded<MemoAppInfo> DecodeMemoAppInfo(QByteArrayView appInfo, const CodePage& codePage);
