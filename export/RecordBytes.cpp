#include "export/RecordBytes.h"

RecordFlags FlagsOfAttributes(uint8_t attributes) {
    RecordFlags flags;
    flags.Deleted = (attributes & 0xA0) != 0;
    flags.Dirty = (attributes & 0x40) != 0;
    flags.Private = (attributes & 0x10) != 0;
    if (flags.Deleted)
        flags.Archived = (attributes & 0x08) != 0;
    else
        flags.Category = attributes & 0x0F;
    return flags;
}

bool RecordIsExported(const RecordFlags& flags, bool includeDeleted) {
    return includeDeleted || !flags.Deleted;
}

std::optional<uint8_t> RecordReader::Byte() {
    if (Remaining() < 1)
        return std::nullopt;
    return uint8_t(bytes_[position_++]);
}

std::optional<uint16_t> RecordReader::Word() {
    if (Remaining() < 2)
        return std::nullopt;
    const auto value = uint16_t(uint8_t(bytes_[position_]) << 8 | uint8_t(bytes_[position_ + 1]));
    position_ += 2;
    return value;
}

std::optional<uint32_t> RecordReader::Long() {
    const auto high = Word();
    if (!high)
        return std::nullopt;
    const auto low = Word();
    if (!low) {
        position_ -= 2;
        return std::nullopt;
    }
    return uint32_t(*high) << 16 | *low;
}

std::optional<QByteArrayView> RecordReader::String() {
    const QByteArrayView rest = Rest();
    const qsizetype end = rest.indexOf('\0');
    if (end < 0)
        return std::nullopt;
    position_ += end + 1;
    return rest.first(end);
}

bool RecordReader::Skip(qsizetype count) {
    if (count < 0 || Remaining() < count)
        return false;
    position_ += count;
    return true;
}
