// The e-book decoder against txt2pdbdoc: books it made, compressed and not, decode to
// exactly the text it was given (their records taken out of the file by Perl's Palm::PDB).
#include "export/PalmDocDecoder.h"
#include "support/TempFolder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

TEST(EbookAgreement, BooksOfTxt2pdbdocDecodeToTheirText) {
    TempFolder work;
    QProcess perl;
    perl.start(QStringLiteral(BRISKO_PERL),
               {QStringLiteral(BRISKO_EBOOK_SCRIPT), work.File(QStringLiteral("books"))});
    ASSERT_TRUE(perl.waitForFinished(60000));
    ASSERT_EQ(perl.exitCode(), 0) << perl.readAllStandardError().toStdString();
    const QJsonArray books = QJsonDocument::fromJson(perl.readAllStandardOutput()).array();
    ASSERT_EQ(books.size(), 12);
    for (const auto& entry : books) {
        const QJsonObject book = entry.toObject();
        SCOPED_TRACE(book[QStringLiteral("name")].toString().toStdString() +
                     (book[QStringLiteral("compressed")].toInt() ? " compressed" : " plain"));
        QList<QByteArray> records;
        for (const auto& record : book[QStringLiteral("records")].toArray())
            records << QByteArray::fromHex(record.toString().toLatin1());
        ASSERT_GE(records.size(), 2);
        const QList<QByteArrayView> textRecords(records.begin() + 1, records.end());
        const auto header = DecodePalmDocHeader(records[0]);
        ASSERT_TRUE(header.Ok());
        EXPECT_EQ(header.Value->Version, book[QStringLiteral("compressed")].toInt()
                                             ? PalmDocHeader::Compressed
                                             : PalmDocHeader::Plain);
        const QByteArray text =
            QByteArray::fromHex(book[QStringLiteral("text_hex")].toString().toLatin1());
        EXPECT_EQ(header.Value->TextLength, uint32_t(text.size()));
        const auto decoded = DecodePalmDocText(records[0], textRecords, CodePage());
        ASSERT_TRUE(decoded.Ok()) << decoded.Error.toStdString();
        EXPECT_EQ(*decoded.Value, CodePage().Decode(text));
    }
}
