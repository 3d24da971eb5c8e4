#include "export/CodePage.h"

#include "i18n/Placeholders.h"
#include "i18n/Translate.h"
#include "platform/Windows1252.h"

#include <QStringDecoder>

namespace {

bool IsWindows1252Name(const QString& name) {
    static const QStringList names = {QStringLiteral("windows-1252"), QStringLiteral("cp1252"),
                                      QStringLiteral("cp-1252"), QStringLiteral("windows1252")};
    return names.contains(name, Qt::CaseInsensitive);
}

} // namespace

CodePage::CodePage() : name_(QStringLiteral("windows-1252")) {}

std::optional<CodePage> CodePage::Named(const QString& name) {
    CodePage page;
    if (IsWindows1252Name(name))
        return page;
    const QStringDecoder decoder(name.toLatin1().constData());
    if (name.isEmpty() || !decoder.isValid())
        return std::nullopt;
    page.name_ = name.toLower();
    page.windows1252_ = false;
    return page;
}

QString CodePage::Decode(QByteArrayView bytes) const {
    if (!windows1252_) {
        QStringDecoder decoder(name_.toLatin1().constData());
        return decoder.decode(bytes);
    }
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto value = uint8_t(byte);
        *out++ = (value >= 0x80 && value < 0xA0) ? QChar(Windows1252High[value - 0x80])
                                                 : QChar(char16_t(value));
    }
    return text;
}

QStringList OfferedCodePageNames() {
    return {QStringLiteral("windows-1252"), QStringLiteral("shift-jis"),
            QStringLiteral("iso-8859-1"),   QStringLiteral("windows-1250"),
            QStringLiteral("windows-1251"), QStringLiteral("windows-1253"),
            QStringLiteral("windows-1254"), QStringLiteral("windows-1255"),
            QStringLiteral("windows-1256"), QStringLiteral("windows-1257"),
            QStringLiteral("big5"),         QStringLiteral("gb2312"),
            QStringLiteral("gbk"),          QStringLiteral("euc-kr"),
            QStringLiteral("windows-874"),  QStringLiteral("utf-8")};
}

QString CodePageLanguages(const QString& name) {
    static const std::pair<const char*, const char*> languages[] = {
        {"windows-1252", N_("Western European and American")},
        {"shift-jis", N_("Japanese")},
        {"iso-8859-1", N_("Western European (ISO)")},
        {"windows-1250", N_("Central European")},
        {"windows-1251", N_("Cyrillic")},
        {"windows-1253", N_("Greek")},
        {"windows-1254", N_("Turkish")},
        {"windows-1255", N_("Hebrew")},
        {"windows-1256", N_("Arabic")},
        {"windows-1257", N_("Baltic")},
        {"big5", N_("Traditional Chinese")},
        {"gb2312", N_("Simplified Chinese")},
        {"gbk", N_("Simplified Chinese, extended")},
        {"euc-kr", N_("Korean")},
        {"windows-874", N_("Thai")},
        {"utf-8", N_("Unicode")}};
    for (const auto& [page, language] : languages)
        if (name.compare(QLatin1StringView(page), Qt::CaseInsensitive) == 0)
            return Translated(language);
    return {};
}

QString UnknownCodePageText(const QString& name) {
    return FillPlaceholders(Translated("unknown character set: %s"), {{u"%s", name}});
}
