// A FIFO or a device under the name of a file that the program reads (a Palm file to copy
// or to look into, Brisko.ini, CreatorIDs.ini, Wine's user.reg): each reader must come
// back at once with "not a file" instead of waiting in open() for a writer or reading
// what the pipe or device gives.
#include "common/IniFile.h"
#include "core/CopyMove.h"
#include "creators/CreatorIdsFile.h"
#include "palmdb/PalmDatabase.h"
#include "palmdesktop/WinePrefix.h"
#include "platform/RegularFile.h"
#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"

#include <QFile>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Runs read on another thread and gives its result, or nothing when it does not come
// back within a few seconds; a reader stuck in open() is then set free by opening the
// FIFO's other end, so that the test ends either way.
std::optional<QString> WithinSeconds(const std::function<QString()>& read, const QString& fifo) {
    std::future<QString> result = std::async(std::launch::async, read);
    if (result.wait_for(std::chrono::seconds(5)) == std::future_status::ready)
        return result.get();
    // Closed at once: the reader's open() goes on, and its read then ends at once.
    do {
        const int release = ::open(QFile::encodeName(fifo).constData(), O_RDWR | O_NONBLOCK);
        if (release >= 0)
            ::close(release);
    } while (result.wait_for(std::chrono::milliseconds(200)) != std::future_status::ready);
    return std::nullopt;
}

struct Reader {
    const char* What;
    QString FileName;
    // Reads the file at path (in folder) as the program does; gives the message shown.
    std::function<QString(const TempFolder& folder, const QString& path)> Read;
};

} // namespace

TEST(NonFileSources, FifoUnderAReadFileNameIsRefusedAtOnce) {
    const std::vector<Reader> readers = {
        {"copy source", QStringLiteral("pipe.pdb"),
         [](const TempFolder& folder, const QString& path) {
             return CopyMoveFile(path, folder.File(QStringLiteral("target.pdb")), true, false)
                 .Error;
         }},
        {"move source", QStringLiteral("pipe.pdb"),
         [](const TempFolder& folder, const QString& path) {
             const QString target = folder.MakeFolder(QStringLiteral("to")) + u"/pipe.pdb";
             const QString error = CopyMoveFile(path, target, false, false).Error;
             return QFile::exists(target) ? QStringLiteral("moved") : error;
         }},
        {"settings file", QStringLiteral("Brisko.ini"),
         [](const TempFolder&, const QString& path) {
             IniFile ini(path);
             return ini.Load() ? QStringLiteral("loaded") : ini.ErrorText();
         }},
        {"catalogue", QStringLiteral("CreatorIDs.ini"),
         [](const TempFolder&, const QString& path) {
             CreatorIdsFile catalogue;
             QString cause;
             return catalogue.Read(path, cause) ? QStringLiteral("read") : cause;
         }},
        {"Wine registry", QStringLiteral("user.reg"),
         [](const TempFolder& folder, const QString&) {
             // The registry read gives no cause: nothing found is all it may say.
             const std::optional<QString> value =
                 WinePrefix(folder.Path())
                     .ReadString(QStringLiteral("Software\\U.S. Robotics\\Pilot Desktop\\Core"),
                                 QStringLiteral("HotSyncPath"));
             return value ? QStringLiteral("found ") + *value : NotAFileText();
         }},
        {"header reader", QStringLiteral("pipe.pdb"),
         [](const TempFolder&, const QString& path) {
             try {
                 TPalmDatabase reader(QFile::encodeName(path).toStdString(), true);
                 return QStringLiteral("read");
             } catch (const EInvalidPalmDatabase&) {
                 return NotAFileText();
             }
         }},
    };
    for (const Reader& reader : readers) {
        SCOPED_TRACE(reader.What);
        const TempFolder folder;
        const QString path = folder.File(reader.FileName);
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        const std::optional<QString> message =
            WithinSeconds([&] { return reader.Read(folder, path); }, path);
        if (!message) {
            ADD_FAILURE() << "still waiting after five seconds";
            continue;
        }
        EXPECT_TRUE(message->contains(NotAFileText())) << message->toStdString();
    }
}

// A pipe that holds bytes, or a device that gives them, is not read as a Palm file.
TEST(NonFileSources, HeaderReaderTakesNothingFromPipesOrDevices) {
    const TempFolder folder;
    PalmFileBuilder builder;
    builder.name = "Pipe";
    builder.type = "DATA";
    builder.creator = "pipe";
    const QByteArray header = builder.Bytes();
    const QString fifo = folder.File(QStringLiteral("full.pdb"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const int writer = ::open(QFile::encodeName(fifo).constData(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::write(writer, header.constData(), size_t(header.size())), header.size());
    const QString device = folder.File(QStringLiteral("zero.pdb"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), device));

    for (const QString& path : {fifo, device}) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_THROW(TPalmDatabase(QFile::encodeName(path).toStdString(), true),
                     EInvalidPalmDatabase);
    }
    ::close(writer);
}

TEST(NonFileSources, ReadRegularFileOutcomes) {
    const TempFolder folder;
    const QString file = folder.Write(QStringLiteral("a.ini"), "0123456789");
    const QString link = folder.File(QStringLiteral("link.ini"));
    ASSERT_TRUE(QFile::link(file, link));
    const QString dangling = folder.File(QStringLiteral("dangling.ini"));
    ASSERT_TRUE(QFile::link(folder.File(QStringLiteral("gone")), dangling));
    const QString subfolder = folder.MakeFolder(QStringLiteral("sub.ini"));

    struct Case {
        const char* What;
        QString Path;
        qint64 MaxSize;
        FileReadOutcome Outcome;
        QByteArray Content;
        QString Error;
    };
    const std::vector<Case> cases = {
        {"file", file, 100, FileReadOutcome::Read, "0123456789", {}},
        {"file at the limit", file, 10, FileReadOutcome::Read, "0123456789", {}},
        {"file past the limit", file, 9, FileReadOutcome::Failed, {}, QStringLiteral("too large")},
        {"link to a file", link, 100, FileReadOutcome::Read, "0123456789", {}},
        {"missing", folder.File(QStringLiteral("none.ini")), 100, FileReadOutcome::Missing, {}, {}},
        {"dangling link", dangling, 100, FileReadOutcome::Missing, {}, {}},
        {"folder", subfolder, 100, FileReadOutcome::Failed, {}, NotAFileText()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        QByteArray content = "old";
        QString error;
        EXPECT_EQ(ReadRegularFile(c.Path, c.MaxSize, &content, &error), c.Outcome);
        EXPECT_EQ(content, c.Content);
        if (!c.Error.isEmpty()) {
            EXPECT_EQ(error, c.Error);
        }
    }
}

// The descriptor handed out reads as any other: blocking, so that a slow disk is waited for.
TEST(NonFileSources, OpenedFileIsInBlockingMode) {
    const TempFolder folder;
    const QString file = folder.Write(QStringLiteral("a.pdb"), "x");
    QString error;
    const int fd = OpenRegularFile(QFile::encodeName(file), &error);
    ASSERT_GE(fd, 0) << error.toStdString();
    EXPECT_EQ(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
    ::close(fd);
}
