#include "i18n/Placeholders.h"

QString FillPlaceholders(const QString& text,
                         std::initializer_list<std::pair<QStringView, QString>> values) {
    QString filled;
    filled.reserve(text.size());
    const QStringView rest(text);
    qsizetype at = 0;
    while (at < rest.size()) {
        const std::pair<QStringView, QString>* match = nullptr;
        for (const auto& value : values)
            if (!value.first.isEmpty() && rest.mid(at).startsWith(value.first)) {
                match = &value;
                break;
            }
        if (match) {
            filled += match->second;
            at += match->first.size();
        } else {
            filled += rest.at(at);
            ++at;
        }
    }
    return filled;
}
