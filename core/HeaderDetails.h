// The texts that describe one Palm header: the twelve rows of the "Database
// information" panel and the six flags. Shared by the window and the command-line tool.
#pragma once

#include "palmdb/PalmDatabase.h"

#include <QString>
#include <array>

constexpr int HeaderRowCount = 12;
constexpr int FlagCount = 6;

// Captions of the header rows, in panel order ("Records" ... "ID Seed"), untranslated.
const std::array<const char*, HeaderRowCount>& HeaderRowCaptions();
// Captions of the flags ("Read only" ... "No beaming"), untranslated.
const std::array<const char*, FlagCount>& FlagCaptions();

// Values of the twelve rows: decimal numbers without separators, texts as the header
// gives them, dates in the short date format; a backup date of 1970-01-01 00:00:00
// shows unknownText.
std::array<QString, HeaderRowCount> HeaderRowValues(const TPDBHeader& header,
                                                    const QString& unknownText);

std::array<bool, FlagCount> HeaderFlags(const TPDBHeader& header);
