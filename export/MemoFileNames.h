// Where each memo goes when memos become text files: a folder per category and a file
// named after the memo's first line that is not blank, both made safe on any file system
// and unique without regard to case (two memos "Shopping" become "Shopping.txt" and
// "Shopping (2).txt").
#pragma once

#include "export/CategoryInfo.h"
#include "export/MemoDecoder.h"

#include <QList>
#include <QString>

// A name from a text: characters no file system takes and control characters become
// "_", blanks and dots at the ends go, at most 60 characters; fallback when nothing is
// left. Names Windows reserves (CON, NUL, COM1, ...) get a "_".
QString SafeFileName(const QString& text, const QString& fallback);

// "Category/Name.txt" for each memo, in their order (one path a memo, also for those a
// writer leaves out, so that the indexes match).
QList<QString> PlanMemoFiles(const QList<Memo>& memos, const CategoryInfo& categories);
