// Record bytes written field by field for the decoder tests.
#pragma once

#include <QByteArray>
#include <QDate>
#include <cstdint>
#include <initializer_list>

inline uint16_t PackedDate(int year, int month, int day) {
    return uint16_t((year - 1904) << 9 | month << 5 | day);
}

class RecordBuilder {
public:
    RecordBuilder& Bytes(std::initializer_list<int> bytes) {
        for (const int byte : bytes)
            data_.append(char(byte));
        return *this;
    }
    RecordBuilder& Word(int value) { return Bytes({(value >> 8) & 0xFF, value & 0xFF}); }
    RecordBuilder& Long(uint32_t value) { return Word(int(value >> 16)).Word(int(value & 0xFFFF)); }
    RecordBuilder& Date(int year, int month, int day) { return Word(PackedDate(year, month, day)); }
    // A text with its NUL; without it when terminated is false.
    RecordBuilder& Text(const char* text, bool terminated = true) {
        data_.append(text);
        if (terminated)
            data_.append('\0');
        return *this;
    }
    operator QByteArray() const { return data_; }

private:
    QByteArray data_;
};
