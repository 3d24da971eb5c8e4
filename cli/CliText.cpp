#include "cli/CliText.h"

#include "platform/NativePath.h"

void AppendPrintable(QString& out, QStringView text) {
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code >= 0x20 && (code < 0x7F || code >= 0xA0)) {
            out += c;
            continue;
        }
        switch (code) {
        case u'\t':
            out += QLatin1String("\\t");
            break;
        case u'\n':
            out += QLatin1String("\\n");
            break;
        case u'\r':
            out += QLatin1String("\\r");
            break;
        default:
            out += QStringLiteral("\\x%1").arg(code, 2, 16, QLatin1Char('0'));
        }
    }
}

QString Printable(QStringView text) {
    QString result;
    AppendPrintable(result, text);
    return result;
}

void ReportError(QTextStream& err, const QString& file, const QString& message) {
    err << "brisko-cli: " << Printable(DisplayName(file)) << ": " << Printable(message) << '\n';
}
