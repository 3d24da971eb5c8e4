// Decoding and writing at the size of a full handheld: 10,000 memos to text file names and
// CSV, 10,000 appointments to iCalendar (goal: under a second each), and a 5 MB compressed
// e-book expanded (goal: under 100 ms).
#include "export/CsvWriter.h"
#include "export/DatebookDecoder.h"
#include "export/ICalendarWriter.h"
#include "export/MemoDecoder.h"
#include "export/MemoFileNames.h"
#include "export/PalmDocDecoder.h"
#include "export/RecordBuilder.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

constexpr int RecordCount = 10000;

QList<QByteArray> MemoRecords() {
    QList<QByteArray> records;
    for (int i = 0; i < RecordCount; ++i) {
        const QByteArray text = "Memo " + QByteArray::number(i % 700) +
                                "\nShopping: milk, eggs, \"fresh\" bread; caf\xe9\n" +
                                QByteArray("Some longer line of notes. ").repeated(1 + i % 12);
        records << RecordBuilder().Text(text.constData());
    }
    return records;
}

QList<QByteArray> AppointmentRecords() {
    QList<QByteArray> records;
    for (int i = 0; i < RecordCount; ++i) {
        const int kind = i % 6;
        RecordBuilder record;
        record.Bytes({8 + i % 10, (i * 7) % 60, 9 + i % 10, 59})
            .Date(1998 + i % 10, 1 + i % 12, 1 + i % 28);
        record.Word(0x4000 | (kind ? 0x2800 : 0) | 0x1400).Bytes({15, i % 3});
        if (kind) {
            record.Bytes({kind, 0})
                .Word(i % 2 ? 0xFFFF : PackedDate(2012, 12, 31))
                .Bytes({1 + i % 3, kind == 3 ? i % 35 : 0x2A, 1, 0});
            record.Word(3)
                .Date(2009, 1, 1 + i % 28)
                .Date(2009, 2, 1 + i % 28)
                .Date(2009, 3, 1 + i % 28);
        }
        record.Text("Meeting with the team, room 4; bring notes").Text("A note\nover two lines");
        records << record;
    }
    return records;
}

void DecodeAndWriteMemos(benchmark::State& state) {
    const QList<QByteArray> records = MemoRecords();
    const CategoryInfo categories;
    for (auto _ : state) {
        QList<Memo> memos;
        memos.reserve(records.size());
        for (const QByteArray& bytes : records)
            memos << *DecodeMemo(PalmRecordBytes{bytes, 0, 1}, CodePage()).Value;
        const QList<QString> files = PlanMemoFiles(memos, categories);
        QByteArray written;
        for (const Memo& memo : memos)
            written = memo.Text.toUtf8();
        const QByteArray csv = MemosAsCsv(memos, categories, ExportOptions()).toUtf8();
        benchmark::DoNotOptimize(files.size() + written.size() + csv.size());
    }
}

void DecodeAndWriteAppointments(benchmark::State& state) {
    const QList<QByteArray> records = AppointmentRecords();
    const CategoryInfo categories;
    for (auto _ : state) {
        QList<Appointment> appointments;
        appointments.reserve(records.size());
        for (const QByteArray& bytes : records) {
            auto decoded = DecodeAppointment(PalmRecordBytes{bytes, 0, 1}, CodePage());
            if (!decoded.Ok()) {
                state.SkipWithError(decoded.Error.toUtf8().constData());
                return;
            }
            appointments << std::move(*decoded.Value);
        }
        const QByteArray ics =
            AppointmentsAsICalendar(appointments, categories, ExportOptions()).toUtf8();
        benchmark::DoNotOptimize(ics.size());
    }
}

// A greedy compressor of the e-book's format, to have a book to expand.
QByteArray Compressed(const QByteArray& text) {
    QByteArray out;
    for (qsizetype i = 0; i < text.size();) {
        qsizetype bestLength = 0, bestDistance = 0;
        for (qsizetype distance = 1; distance <= std::min<qsizetype>(i, 2047); ++distance) {
            qsizetype length = 0;
            while (length < 10 && i + length < text.size() &&
                   text[i + length - distance] == text[i + length])
                ++length;
            if (length > bestLength) {
                bestLength = length;
                bestDistance = distance;
            }
            if (length == 10)
                break;
        }
        if (bestLength >= 3) {
            const int pair = 0x8000 | int(bestDistance) << 3 | int(bestLength - 3);
            out.append(char(pair >> 8)).append(char(pair & 0xFF));
            i += bestLength;
        } else if (text[i] == ' ' && i + 1 < text.size() && text[i + 1] >= 0x40) {
            out.append(char(text[i + 1] ^ 0x80));
            i += 2;
        } else {
            const auto byte = uint8_t(text[i]);
            if ((byte >= 1 && byte <= 8) || byte >= 0x80)
                out.append('\x01');
            out.append(text[i++]);
        }
    }
    return out;
}

void ExpandEbook(benchmark::State& state) {
    QByteArray text;
    for (int i = 0; text.size() < 5 * 1024 * 1024; ++i)
        text += "Chapter " + QByteArray::number(i) +
                ". It was a dark and stormy night; the rain fell in torrents, except at "
                "occasional intervals, when it was checked by a violent gust of wind.\n";
    QList<QByteArray> records;
    for (qsizetype at = 0; at < text.size(); at += 4096)
        records << Compressed(text.mid(at, 4096));
    const QByteArray header = RecordBuilder()
                                  .Word(2)
                                  .Word(0)
                                  .Long(uint32_t(text.size()))
                                  .Word(int(records.size()))
                                  .Word(4096)
                                  .Long(0);
    const QList<QByteArrayView> views(records.begin(), records.end());
    for (auto _ : state) {
        const auto book = DecodePalmDocText(header, views, CodePage());
        if (!book.Ok() || book.Value->size() != text.size()) {
            state.SkipWithError("the book did not expand to its text");
            return;
        }
        benchmark::DoNotOptimize(book.Value->size());
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}

} // namespace

BENCHMARK(DecodeAndWriteMemos)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeAndWriteAppointments)->Unit(benchmark::kMillisecond);
BENCHMARK(ExpandEbook)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
