#include "export/DecodeErrors.h"

#include "i18n/Placeholders.h"
#include "i18n/Translate.h"

QString RecordTooShortText() {
    return Translated("the record is shorter than its fixed fields");
}
QString UnterminatedTextText() {
    return Translated("a text of the record has no end");
}
QString MissingFieldsText() {
    return Translated("the record promises more fields than it holds");
}
QString InvalidDateText() {
    return Translated("a date of the record is no day of the calendar");
}
QString InvalidTimeText() {
    return Translated("a time of the record is no time of day");
}
QString EndsBeforeStartText() {
    return Translated("the appointment ends before it starts");
}
QString PhoneLabelOutOfRangeText() {
    return Translated("a phone label of the record is unknown");
}
QString PriorityOutOfRangeText() {
    return Translated("the priority is not between 1 and 5");
}
QString UnknownAlarmUnitText() {
    return Translated("the alarm has an unknown unit");
}
QString UnknownRepeatKindText() {
    return Translated("the repeat is of an unknown kind");
}
QString ZeroRepeatIntervalText() {
    return Translated("the repeat has an interval of 0");
}
QString RepeatOnNoDayText() {
    return Translated("the weekly repeat is on no day");
}
QString InvalidWeekOfMonthText() {
    return Translated("the monthly repeat names no day of a week");
}
QString RepeatEndsBeforeStartText() {
    return Translated("the repeat ends before it starts");
}
QString ExceptionsBeyondRecordText() {
    return Translated("the record counts more exceptions than it holds");
}
QString AppInfoTooShortText() {
    return Translated("the application info block is too short");
}
QString UnknownEbookVersionText(int version) {
    return FillPlaceholders(Translated("the e-book is of an unknown version %d"),
                            {{u"%d", QString::number(version)}});
}
QString EbookRecordTooLongText(int limit) {
    return FillPlaceholders(Translated("an e-book record expands past %d bytes"),
                            {{u"%d", QString::number(limit)}});
}
QString EbookReferenceBeforeStartText() {
    return Translated("an e-book record refers back before its start");
}
QString EbookRecordsMissingText(int expected, int present) {
    return FillPlaceholders(
        Translated("the e-book has %d of its %e text records"),
        {{u"%d", QString::number(present)}, {u"%e", QString::number(expected)}});
}
