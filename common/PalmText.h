// Texts of Palm headers are bytes in the Palm character set (Windows-1252).
#pragma once

#include <QString>
#include <string>

// Decodes every byte; the five bytes that Windows-1252 leaves undefined map to the
// control characters of the same value, so that no byte is lost.
QString PalmTextToQString(const std::string& bytes);

// The way back; characters the character set lacks become "?".
std::string QStringToPalmText(const QString& text);
