// The e-book's LZ77 expansion on hand-made records, and the limits that keep a damaged
// book from growing without bound or copying from before a record.
#include "RecordBuilder.h"
#include "export/DecodeErrors.h"
#include "export/PalmDocDecoder.h"

#include <gtest/gtest.h>

namespace {

struct Expansion {
    const char* Name;
    QByteArray Compressed;
    QByteArray Expected; // empty when Error is expected
    QString Error;
    int Limit = 4096;
};

void PrintTo(const Expansion& expansion, std::ostream* out) {
    *out << expansion.Name;
}

// A back-reference: distance back, length 3..10.
RecordBuilder& Reference(RecordBuilder& builder, int distance, int length) {
    return builder.Word(0x8000 | distance << 3 | (length - 3));
}

// a, b, c, ... z, a, ...: count bytes that expand as themselves.
QByteArray Alphabet(int count) {
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text.append(char('a' + i % 26));
    return text;
}

QByteArray WithReference(const char* before, int distance, int length) {
    RecordBuilder builder;
    builder.Text(before, false);
    return Reference(builder, distance, length);
}

class Expansions : public ::testing::TestWithParam<Expansion> {};

} // namespace

TEST_P(Expansions, ExpandOrNameTheirFault) {
    const Expansion& expansion = GetParam();
    const QByteArray compressed(expansion.Compressed.constData(), expansion.Compressed.size());
    QByteArray out("before"); // what earlier records wrote
    const QString error = DecompressPalmDocRecord(compressed, expansion.Limit, out);
    EXPECT_EQ(error, expansion.Error);
    if (expansion.Error.isEmpty()) {
        EXPECT_EQ(out, "before" + expansion.Expected);
    }
    EXPECT_LE(out.size(), 6 + expansion.Limit);
}

INSTANTIATE_TEST_SUITE_P(
    Lz77, Expansions,
    ::testing::Values(
        Expansion{"PlainBytes", "Hello", "Hello", {}},
        Expansion{"NulAndHighBytesAsThey",
                  QByteArray("a\0\x09\x7F", 4),
                  QByteArray("a\0\x09\x7F", 4),
                  {}},
        Expansion{"LiteralRun",
                  RecordBuilder().Bytes({3, 0xC1, 0x80, 0x01}),
                  RecordBuilder().Bytes({0xC1, 0x80, 0x01}),
                  {}},
        Expansion{"SpaceAndCharacter", RecordBuilder().Bytes({'a', 0xE2, 0xE3}), "a b c", {}},
        Expansion{"Reference", WithReference("abcdef", 6, 6), "abcdefabcdef", {}},
        Expansion{"OverlappingReference", WithReference("ab", 2, 10), "abababababab", {}},
        Expansion{"LongestDistance",
                  WithReference(Alphabet(2047).constData(), 2047, 3),
                  Alphabet(2047) + "abc",
                  {}},
        Expansion{"ReferenceBeforeRecord",
                  WithReference("ab", 3, 3),
                  {},
                  EbookReferenceBeforeStartText()},
        Expansion{"DistanceZero", WithReference("ab", 0, 3), {}, EbookReferenceBeforeStartText()},
        Expansion{"ReferenceAtStart", WithReference("", 1, 3), {}, EbookReferenceBeforeStartText()},
        Expansion{"CutReference", RecordBuilder().Bytes({'a', 0x80}), {}, RecordTooShortText()},
        Expansion{"CutLiteralRun", RecordBuilder().Bytes({5, 'a', 'b'}), {}, RecordTooShortText()},
        Expansion{"PastLimitByLiterals", "abcde", {}, EbookRecordTooLongText(4), 4},
        Expansion{
            "PastLimitByReference", WithReference("ab", 2, 10), {}, EbookRecordTooLongText(8), 8},
        Expansion{"PastLimitBySpace",
                  RecordBuilder().Bytes({'a', 'b', 'c', 0xE4}),
                  {},
                  EbookRecordTooLongText(4),
                  4},
        Expansion{"PastLimitByRun",
                  RecordBuilder().Bytes({'a', 4, 'b', 'c', 'd', 'e'}),
                  {},
                  EbookRecordTooLongText(4),
                  4},
        Expansion{"ExactlyTheLimit", WithReference("ab", 2, 10), "abababababab", {}, 12}),
    [](const auto& testInfo) { return std::string(testInfo.param.Name); });

namespace {

QByteArray Header(int version, uint32_t length, int count, int size) {
    return RecordBuilder().Word(version).Word(0).Long(length).Word(count).Word(size).Long(0);
}

} // namespace

TEST(PalmDocBook, JoinsItsTextRecordsAndIgnoresTheRest) {
    const QByteArray first =
        WithReference("Tick ", 5, 4) + RecordBuilder().Bytes({0xE9}).operator QByteArray();
    const QByteArray second = QByteArray("\x01\xE9 na\x01\xEFve", 9);
    const QByteArray bookmark("bookmark");
    const auto text =
        DecodePalmDocText(Header(2, 20, 2, 4096), {first, second, bookmark}, CodePage());
    ASSERT_TRUE(text.Ok()) << text.Error.toStdString();
    EXPECT_EQ(*text.Value, u"Tick Tick i\u00e9 na\u00efve");

    const auto plain = DecodePalmDocText(Header(1, 6, 2, 4096), {"abc", "def", "xyz"}, CodePage());
    ASSERT_TRUE(plain.Ok());
    EXPECT_EQ(*plain.Value, u"abcdef");
}

TEST(PalmDocBook, DamagedBooksAreRefused) {
    EXPECT_EQ(DecodePalmDocText(Header(3, 1, 1, 4096), {"a"}, CodePage()).Error,
              UnknownEbookVersionText(3));
    EXPECT_EQ(DecodePalmDocText(Header(2, 1, 1, 4096).left(9), {"a"}, CodePage()).Error,
              RecordTooShortText());
    EXPECT_EQ(DecodePalmDocText(Header(2, 1, 3, 4096), {"a", "b"}, CodePage()).Error,
              EbookRecordsMissingText(3, 2));
    EXPECT_EQ(DecodePalmDocText(Header(1, 5, 1, 4), {"abcde"}, CodePage()).Error,
              EbookRecordTooLongText(4));
    // A record size of 0 means the usual 4,096 bytes.
    const QByteArray big(4097, 'a');
    EXPECT_EQ(DecodePalmDocText(Header(1, 4097, 1, 0), {big}, CodePage()).Error,
              EbookRecordTooLongText(4096));
    // A character of two bytes split across records is one character.
    const auto shiftJis = DecodePalmDocText(Header(1, 2, 2, 4096), {"\x82", "\xA0"},
                                            *CodePage::Named(QStringLiteral("shift-jis")));
    ASSERT_TRUE(shiftJis.Ok());
    EXPECT_EQ(*shiftJis.Value, u"\u3042");
}
