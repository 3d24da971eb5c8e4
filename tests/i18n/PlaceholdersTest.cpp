// Placeholders are filled in one pass: whatever a value holds (a file name with "%s",
// "%d", "%e" or "%1" in it) comes out as it is, and every placeholder of the text is
// filled, however often it occurs.
#include "i18n/Placeholders.h"

#include <gtest/gtest.h>

TEST(FillPlaceholders, ValuesAreNeverSearchedAgainAndEveryOccurrenceIsFilled) {
    const QString archiveText = QStringLiteral("%s cannot be opened as a ZIP archive: %e");
    struct Case {
        QString text;
        QString first;  // the value of %s (or %d)
        QString second; // the value of %e
        QString expected;
    };
    const Case cases[] = {
        {archiveText, QStringLiteral("a%e%s.zip"), QStringLiteral("Not a zip archive"),
         QStringLiteral("a%e%s.zip cannot be opened as a ZIP archive: Not a zip archive")},
        {archiveText, QStringLiteral("/x/y.zip"), QStringLiteral("cause %s and %e"),
         QStringLiteral("/x/y.zip cannot be opened as a ZIP archive: cause %s and %e")},
        {archiveText, QStringLiteral("%1%2.zip"), QStringLiteral("%1"),
         QStringLiteral("%1%2.zip cannot be opened as a ZIP archive: %1")},
        {QStringLiteral("File \"%d\" already exists. Overwrite?"),
         QStringLiteral("100%d.pdb"),
         {},
         QStringLiteral("File \"100%d.pdb\" already exists. Overwrite?")},
        // A translation may name the file twice.
        {QStringLiteral("%d: \"%d\""),
         QStringLiteral("%d%d"),
         {},
         QStringLiteral("%d%d: \"%d%d\"")},
        {QStringLiteral("Opening %s..."), QStringLiteral("%"), {}, QStringLiteral("Opening %...")},
        {QStringLiteral("50% done, %s"), QStringLiteral("x"), {}, QStringLiteral("50% done, x")},
        {QStringLiteral("ends with %"), QStringLiteral("x"), {}, QStringLiteral("ends with %")},
        {QStringLiteral("%s%e%s"), QStringLiteral("s"), QStringLiteral("e"), QStringLiteral("ses")},
        {QString(), QStringLiteral("x"), QStringLiteral("y"), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " / " + c.first.toStdString());
        EXPECT_EQ(FillPlaceholders(c.text, {{u"%s", c.first}, {u"%d", c.first}, {u"%e", c.second}}),
                  c.expected);
    }
}
