// The character set of a database's texts. The handheld stored texts in the code page of
// its language (Windows-1252 in the West, Shift-JIS in Japan, ...) and no database says
// which, so the user chooses; Windows-1252 is the default.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

class CodePage {
public:
    // Windows-1252, decoded by our own table so that its five undefined bytes survive.
    CodePage();
    // Any name Qt's converters know ("windows-1252", "shift-jis", "big5", ...), compared
    // without regard to case; nothing for a name they do not know.
    static std::optional<CodePage> Named(const QString& name);

    QString Name() const { return name_; }
    QString Decode(QByteArrayView bytes) const;

private:
    QString name_;
    bool windows1252_ = true;
};

// The code pages handhelds were sold with, in the order a choice offers them.
QStringList OfferedCodePageNames();

// The languages a code page of that list was used for ("Japanese"), for a choice to show
// beside the name; empty for another name.
QString CodePageLanguages(const QString& name);

// The error text for a name Named() refused.
QString UnknownCodePageText(const QString& name);
