#include "core/HeaderDetails.h"

#include "common/DateTime.h"
#include "common/PalmText.h"
#include "i18n/Translate.h"

#include <QLocale>

namespace {

// 1970-01-01 00:00:00: what a header holds when the database was never backed up.
constexpr TDateTime NeverBackedUp = 25569.0;

QString ShortDate(TDateTime value) {
    const QLocale locale;
    return locale.toString(QDateTimeFromDateTime(value).date(), ShortDateFormat(locale));
}

} // namespace

const std::array<const char*, HeaderRowCount>& HeaderRowCaptions() {
    static const std::array<const char*, HeaderRowCount> captions = {
        N_("Records"),     N_("Type"),         N_("Creator"),          N_("Version"),
        N_("Created"),     N_("Modified"),     N_("Backed up"),        N_("Mod number"),
        N_("AppInfoArea"), N_("SortInfoArea"), N_("Next record list"), N_("ID Seed")};
    return captions;
}

const std::array<const char*, FlagCount>& FlagCaptions() {
    static const std::array<const char*, FlagCount> captions = {
        N_("Read only"), N_("Dirty"),       N_("Backup"),
        N_("Overwrite"), N_("Force reset"), N_("No beaming")};
    return captions;
}

std::array<QString, HeaderRowCount> HeaderRowValues(const TPDBHeader& header,
                                                    const QString& unknownText) {
    return {QString::number(header.RecordCount),
            PalmTextToQString(header.DBType),
            PalmTextToQString(header.Creator),
            QString::number(header.Version),
            ShortDate(header.Created),
            ShortDate(header.Modified),
            header.BackedUp == NeverBackedUp ? unknownText : ShortDate(header.BackedUp),
            QString::number(header.ModNumber),
            QString::number(header.AppInfoArea),
            QString::number(header.SortInfoArea),
            QString::number(header.NextRecordList),
            QString::number(header.IDSeed)};
}

std::array<bool, FlagCount> HeaderFlags(const TPDBHeader& header) {
    return {header.ReadOnly,  header.Dirty,      header.Backup,
            header.Overwrite, header.ForceReset, header.NoBeaming};
}
