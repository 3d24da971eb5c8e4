// A file whose name is not UTF-8 (Latin-1 bytes, as copied from an old Windows disk) goes
// through the real window like any other: listed with its text, read, copied, moved,
// opened, dragged and installed by its bytes.
#include "WindowFixture.h"
#include "dialogs/TFDialog.h"
#include "gui/DetailsPanels.h"
#include "gui/FolderTreeView.h"
#include "platform/NativePath.h"

#include <QAction>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray Latin1Name("Adre\xDF"
                            "buch.pdb");
const QString ShownName = QStringLiteral("Adreßbuch.pdb");

// Files are made and read by their bytes: QFile cannot reach such a name.
void WriteNative(const QByteArray& path, const QByteArray& content) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << path.constData();
    ASSERT_EQ(::write(fd, content.constData(), size_t(content.size())), content.size());
    ::close(fd);
}

QByteArray ReadNative(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return "<missing>";
    QByteArray content;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0)
        content.append(buffer, got);
    ::close(fd);
    return content;
}

class ByteNames : public WindowFixture {
protected:
    QByteArray folder = QFile::encodeName(files.Path()) + '/';
    QByteArray source = folder + Latin1Name;
    QString target = files.MakeFolder(QStringLiteral("target"));
    QByteArray targetFile = QFile::encodeName(target) + '/' + Latin1Name;
    QByteArray content = PalmBytes("addr", 100);

    void StartWithLatin1File() {
        WriteNative(source, content);
        files.Write(QStringLiteral("other.pdb"), PalmBytes("memo"));
        Start(files.Path());
        ASSERT_GE(RowOf(ShownName), 0) << Names().join(u' ').toStdString();
    }
    void CopyOrMoveTo(bool copy) {
        Select({ShownName});
        prompts.DialogAnswers = {[this](QDialog* dialog) {
            auto* d = qobject_cast<TFDialog*>(dialog);
            d->EPfad->setText(target);
            d->BOK->setEnabled(true);
            d->BOK->click();
            return dialog->result();
        }};
        (copy ? w->MICopy : w->MIMove)->trigger();
    }
};

} // namespace

TEST_F(ByteNames, ListedWithItsTextAndItsHeaderShownOnAClick) {
    StartWithLatin1File();
    EXPECT_EQ(Column(RowOf(ShownName), 1), QStringLiteral("addr"));
    EXPECT_EQ(Column(RowOf(ShownName), 2), QStringLiteral("100"));
    ClickRow(ShownName);
    EXPECT_TRUE(prompts.Messages.isEmpty()) << prompts.Messages.join(u'\n').toStdString();
    EXPECT_EQ(w->DBInfo->DetailValue(2), QStringLiteral("addr"));
}

TEST_F(ByteNames, AStartFolderWhoseNameIsNotUtf8IsListed) {
    const QByteArray latin1Folder = folder + "Sicherung \xE9t\xE9";
    ASSERT_EQ(::mkdir(latin1Folder.constData(), 0700), 0);
    WriteNative(latin1Folder + '/' + Latin1Name, content);
    Start(DecodePath(latin1Folder));
    EXPECT_EQ(Names(), QStringList{ShownName});
    EXPECT_FALSE(w->StatusText().contains(QStringLiteral("does not exist")))
        << w->StatusText().toStdString();
    EXPECT_TRUE(prompts.Messages.isEmpty()) << prompts.Messages.join(u'\n').toStdString();
}

TEST_F(ByteNames, CopiedAndMovedUnderTheSameBytes) {
    StartWithLatin1File();
    CopyOrMoveTo(true);
    EXPECT_TRUE(prompts.Messages.isEmpty()) << prompts.Messages.join(u'\n').toStdString();
    EXPECT_EQ(ReadNative(targetFile), content);
    EXPECT_EQ(ReadNative(source), content);

    // Again: the question names the file by its text; Yes replaces it.
    WriteNative(targetFile, "old");
    prompts.OverwriteAnswers = {OverwriteAnswer::Yes};
    CopyOrMoveTo(true);
    EXPECT_EQ(prompts.Questions,
              QStringList{QStringLiteral("File \"Adreßbuch.pdb\" already exists. Overwrite?")});
    EXPECT_EQ(ReadNative(targetFile), content);

    ::unlink(targetFile.constData());
    CopyOrMoveTo(false);
    EXPECT_TRUE(prompts.Messages.isEmpty()) << prompts.Messages.join(u'\n').toStdString();
    EXPECT_EQ(ReadNative(targetFile), content);
    EXPECT_EQ(ReadNative(source), QByteArray("<missing>"));
    EXPECT_EQ(RowOf(ShownName), -1) << "the moved file's row left the list";
}

TEST_F(ByteNames, OpenedAndDraggedAsAUrlOfItsBytes) {
    StartWithLatin1File();
    const QByteArray url = "file://" + source.toPercentEncoding("/");
    ASSERT_TRUE(url.endsWith("/Adre%DFbuch.pdb")) << url.constData();
    Select({ShownName});
    w->MIOpen->trigger();
    EXPECT_TRUE(prompts.Messages.isEmpty()) << prompts.Messages.join(u'\n').toStdString();
    ASSERT_EQ(prompts.Opened.size(), 1);
    EXPECT_EQ(prompts.Opened.first().toEncoded(), url);

    const std::unique_ptr<QMimeData> mime(
        w->FileModel().mimeData({w->FileModel().index(RowOf(ShownName), 0)}));
    ASSERT_TRUE(mime);
    ASSERT_EQ(mime->urls().size(), 1);
    EXPECT_EQ(mime->urls().first().toEncoded(), url);
    EXPECT_TRUE(mime->data(QStringLiteral("text/uri-list")).startsWith(url));
}

TEST_F(ByteNames, TrashedByItsBytesAndRestorableToThem) {
    const QString data = files.MakeFolder(QStringLiteral("home/.local/share"));
    const QByteArray oldHome = qgetenv("HOME"), oldData = qgetenv("XDG_DATA_HOME");
    qputenv("HOME", QFile::encodeName(files.File(QStringLiteral("home"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(data));
    StartWithLatin1File();
    Select({ShownName});
    prompts.ConfirmAnswers = {true};
    w->MIDelete->trigger();
    EXPECT_EQ(prompts.Questions, QStringList{QStringLiteral("Move \"Adreßbuch.pdb\" to trash?")});
    EXPECT_TRUE(prompts.Messages.isEmpty()) << prompts.Messages.join(u'\n').toStdString();
    EXPECT_EQ(RowOf(ShownName), -1);
    EXPECT_EQ(ReadNative(source), QByteArray("<missing>"));
    const QByteArray trash = QFile::encodeName(data) + "/Trash/";
    EXPECT_EQ(ReadNative(trash + "files/" + Latin1Name), content);
    // The place to restore to, percent-encoded byte by byte.
    EXPECT_TRUE(ReadNative(trash + "info/" + Latin1Name + ".trashinfo")
                    .contains(QByteArray("\nPath=" + source.toPercentEncoding("/") + '\n')));
    qputenv("HOME", oldHome);
    qputenv("XDG_DATA_HOME", oldData);
}

TEST_F(ByteNames, TheInstallToolGetsThePathsBytes) {
    TempFolder tools;
    const QString tool = tools.Write(
        QStringLiteral("install-tool"),
        "#!/bin/sh\ncd \"${0%/*}\" && printf '%s\\n' \"$@\" >args.part && mv args.part args\n");
    QFile::setPermissions(tool, QFile::permissions(tool) | QFile::ExeOwner);
    StartWithLatin1File();
    w->Settings().InstallTool = tool;
    w->UpdateInstallCommands();
    Select({ShownName});
    w->MIInstall->trigger();
    EXPECT_TRUE(prompts.Messages.isEmpty()) << prompts.Messages.join(u'\n').toStdString();
    const QString args = tools.File(QStringLiteral("args"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(args); }, 10000));
    // Every other tool gets the plain list inside one pair of quotes: one argument.
    EXPECT_EQ(Read(args), source + '\n');
}
