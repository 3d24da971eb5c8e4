// One record as a database holds it: its bytes, its attribute byte and its unique ID; and
// the bounded reading of its fields. Records come from files of unknown origin, so every
// read says whether the bytes were there instead of trusting a length or a flag.
#pragma once

#include <QByteArrayView>
#include <cstdint>
#include <optional>

struct PalmRecordBytes {
    QByteArrayView Data;
    uint8_t Attributes = 0;
    uint32_t UniqueId = 0;
};

// The attribute byte read the way the handheld's data manager writes it: the low four bits
// are the category of a living record, and the archive mark of a deleted one.
struct RecordFlags {
    bool Deleted = false;
    bool Archived = false;
    bool Dirty = false;
    bool Private = false;
    int Category = 0;
};
RecordFlags FlagsOfAttributes(uint8_t attributes);

// Whether a writer takes a record: deleted and archived records only when asked.
bool RecordIsExported(const RecordFlags& flags, bool includeDeleted);

class RecordReader {
public:
    explicit RecordReader(QByteArrayView bytes) : bytes_(bytes) {}

    std::optional<uint8_t> Byte();
    // Big-endian, as the handheld stores numbers.
    std::optional<uint16_t> Word();
    std::optional<uint32_t> Long();
    // A NUL-terminated text without its NUL; nothing (and nothing read) when the record
    // ends before the NUL.
    std::optional<QByteArrayView> String();
    bool Skip(qsizetype count);

    qsizetype Position() const { return position_; }
    qsizetype Remaining() const { return bytes_.size() - position_; }
    QByteArrayView Rest() const { return bytes_.sliced(position_); }

private:
    QByteArrayView bytes_;
    qsizetype position_ = 0;
};
