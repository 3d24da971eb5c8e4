// The texts that name what is wrong with a damaged record or block, for the export's
// summary. One function a fault, so that the decoders and their tests name it alike.
#pragma once

#include <QString>

QString RecordTooShortText();
QString UnterminatedTextText();
QString MissingFieldsText();
QString InvalidDateText();
QString InvalidTimeText();
QString EndsBeforeStartText();
QString PhoneLabelOutOfRangeText();
QString PriorityOutOfRangeText();
QString UnknownAlarmUnitText();
QString UnknownRepeatKindText();
QString ZeroRepeatIntervalText();
QString RepeatOnNoDayText();
QString InvalidWeekOfMonthText();
QString RepeatEndsBeforeStartText();
QString ExceptionsBeyondRecordText();
QString AppInfoTooShortText();
QString UnknownEbookVersionText(int version);
QString EbookRecordTooLongText(int limit);
QString EbookReferenceBeforeStartText();
QString EbookRecordsMissingText(int expected, int present);
