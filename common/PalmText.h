// Texts of Palm headers are bytes in the Palm character set (Windows-1252).
#pragma once

#include <QString>
#include <string>

// Decodes every byte; the five bytes that Windows-1252 leaves undefined map to the
// control characters of the same value, so that no byte is lost.
QString PalmTextToQString(const std::string& bytes);

// The way back; characters the character set lacks become "?".
std::string QStringToPalmText(const QString& text);

// Text of an 8-bit file that programs of either kind write (the creator catalogue): valid
// UTF-8 is read as such, anything else as Windows-1252, the code page such a file was
// written in on Windows, so that no byte is lost or shown as a replacement character.
QString Utf8OrWindows1252ToQString(const std::string& bytes);
