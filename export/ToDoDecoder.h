// To Do (ToDoDB, creator "todo", type "DATA"): the due date (0xFFFF: none), a byte of
// priority with the completed mark in its top bit, then description and note, each
// ending in NUL.
#pragma once

#include "export/CategoryInfo.h"
#include "export/CodePage.h"
#include "export/Decoded.h"
#include "export/RecordBytes.h"

#include <QDate>
#include <QString>
#include <optional>

struct ToDoItem {
    std::optional<QDate> Due;
    int Priority = 1;
    bool Completed = false;
    QString Description;
    QString Note;
    RecordFlags Flags;
    uint32_t UniqueId = 0;
};

struct ToDoAppInfo {
    CategoryInfo Categories;
    uint16_t DirtyAppInfo = 0;
    uint8_t SortOrder = 0;
};

Decoded<ToDoItem> DecodeToDo(const PalmRecordBytes& record, const CodePage& codePage);
Decoded<ToDoAppInfo> DecodeToDoAppInfo(QByteArrayView appInfo, const CodePage& codePage);
