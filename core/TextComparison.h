// The one text comparison of the list and table orders: -1, 0 or 1 by the collator.
#pragma once

#include <QCollator>
#include <QString>

inline int CompareTexts(const QString& a, const QString& b, const QCollator& collator) {
    // Identical texts need no collation.
    if (a == b)
        return 0;
    const int result = collator.compare(a, b);
    return (result > 0) - (result < 0);
}
