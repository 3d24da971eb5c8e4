// Menu captions made from data (a folder's path, a language's name).
#pragma once

#include <QString>

// "&" in a caption marks the next letter as the item's access key and is not shown: a
// path such as /home/u/a&b would read "ab". Doubled, it shows as itself.
inline QString MenuCaption(QString text) {
    return text.replace(u'&', QStringLiteral("&&"));
}
