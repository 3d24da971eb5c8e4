// Fills the placeholders of a translated text ("%s", "%d", "%e", ...) with their values
// in one pass over the text. Replacing them one after another would also replace a
// placeholder that a value brought in: an archive named a%e%s.zip would get the error
// text in the middle of its name.
#pragma once

#include <QString>
#include <initializer_list>
#include <utility>

// Every occurrence of each placeholder in text is replaced by its value; values are never
// searched again. Where two placeholders could match at one place, the first listed wins.
QString FillPlaceholders(const QString& text,
                         std::initializer_list<std::pair<QStringView, QString>> values);
