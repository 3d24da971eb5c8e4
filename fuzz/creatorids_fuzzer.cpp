// "CreatorIDs.ini" on any bytes, through the catalogue as the program uses it: read,
// write back into the same file, read again. The catalogue must come back the same
// (a NUL inside a value is written as a blank, since it would end the line for others).
#include "FuzzInput.h"
#include "creators/CreatorCatalogue.h"
#include "creators/CreatorIdsFile.h"
#include "platform/WriteError.h"

#include <QFile>
#include <algorithm>

namespace {

std::string WithoutNul(std::string text) {
    std::replace(text.begin(), text.end(), '\0', ' ');
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path =
        QString::fromStdString(ScratchFolder()) + QStringLiteral("/CreatorIDs.ini");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
            Broken("cannot write the input file");
    }
    ListeDerLinks first;
    if (!first.LoadCreatorIDs(path))
        Broken("a readable file was refused");
    try {
        first.SaveCreatorIDs(path);
    } catch (const EWriteError&) {
        Broken("the catalogue could not be written back");
    }
    ListeDerLinks second;
    if (!second.LoadCreatorIDs(path))
        Broken("the written file was refused");
    if (second.LinkCount() != first.LinkCount())
        Broken("writing changed the number of entries");
    for (int i = 0; i < first.LinkCount(); ++i) {
        const TLinks& a = *first.LinkAt(i);
        const TLinks& b = *second.LinkAt(i);
        // An ID that cannot be written keeps its section untouched, NUL bytes included.
        const auto expected = [&](const std::string& text) {
            return CreatorIdsFile::IsWritableSectionName(a.CreatorID) ? WithoutNul(text) : text;
        };
        if (a.CreatorID != b.CreatorID || expected(a.Program) != b.Program ||
            expected(a.Description) != b.Description || expected(a.URL) != b.URL)
            Broken("an entry did not come back as it was");
    }
    return 0;
}
