#include "export/ToDoDecoder.h"

#include "export/DecodeErrors.h"
#include "export/PalmDate.h"

Decoded<ToDoItem> DecodeToDo(const PalmRecordBytes& record, const CodePage& codePage) {
    using Result = Decoded<ToDoItem>;
    RecordReader reader(record.Data);
    const auto due = reader.Word();
    const auto priority = reader.Byte();
    if (!due || !priority)
        return Result::Failure(RecordTooShortText());
    ToDoItem item;
    if (*due != NoPalmDate) {
        item.Due = PalmDateToQDate(*due);
        if (!item.Due)
            return Result::Failure(InvalidDateText());
    }
    item.Completed = (*priority & 0x80) != 0;
    item.Priority = *priority & 0x7F;
    if (item.Priority < 1 || item.Priority > 5)
        return Result::Failure(PriorityOutOfRangeText());
    const auto description = reader.String();
    if (!description)
        return Result::Failure(UnterminatedTextText());
    item.Description = codePage.Decode(*description);
    // A record that ends with its description has no note.
    if (reader.Remaining() > 0) {
        const auto note = reader.String();
        if (!note)
            return Result::Failure(UnterminatedTextText());
        item.Note = codePage.Decode(*note);
    }
    item.Flags = FlagsOfAttributes(record.Attributes);
    item.UniqueId = record.UniqueId;
    return Result::Of(std::move(item));
}

Decoded<ToDoAppInfo> DecodeToDoAppInfo(QByteArrayView appInfo, const CodePage& codePage) {
    auto categories = DecodeCategoryInfo(appInfo, codePage);
    if (!categories)
        return Decoded<ToDoAppInfo>::Failure(AppInfoTooShortText());
    ToDoAppInfo info{std::move(*categories), 0, 0};
    RecordReader rest(appInfo.sliced(CategoryInfo::Size));
    if (rest.Skip(2)) {
        info.DirtyAppInfo = rest.Word().value_or(0);
        info.SortOrder = rest.Byte().value_or(0);
    }
    return Decoded<ToDoAppInfo>::Of(std::move(info));
}
