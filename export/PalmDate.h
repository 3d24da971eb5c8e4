// The handheld's packed date: from the top bit down 7 bits years since 1904, 4 bits month,
// 5 bits day. 0xFFFF means "no date".
#pragma once

#include <QDate>
#include <cstdint>
#include <optional>

inline constexpr uint16_t NoPalmDate = 0xFFFF;

// Nothing when the fields name no day of the calendar (month 13, 31 February, day 0).
inline std::optional<QDate> PalmDateToQDate(uint16_t packed) {
    const int day = packed & 0x1F;
    const int month = (packed >> 5) & 0x0F;
    const int year = 1904 + (packed >> 9);
    if (!QDate::isValid(year, month, day))
        return std::nullopt;
    return QDate(year, month, day);
}
