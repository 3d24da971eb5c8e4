// A main window on a temporary program folder and a temporary folder of files, with
// questions answered by FakePrompts; helpers to select and click rows.
#pragma once

#include "FakePrompts.h"
#include "core/FileListModel.h"
#include "gui/TFBrowser.h"
#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>
#include <memory>

inline QByteArray PalmBytes(const std::string& creator, int totalSize = 80) {
    PalmFileBuilder b;
    b.name = "Test";
    b.type = "DATA";
    b.creator = creator;
    b.tail = QByteArray(std::max(0, totalSize - 78), 'x');
    return b.Bytes();
}

// "a b c" -> {"a", "b", "c"}
inline QStringList Words(const char* words) {
    return QString::fromUtf8(words).split(u' ', Qt::SkipEmptyParts);
}

class WindowFixture : public ::testing::Test {
protected:
    TempFolder program;
    TempFolder files;
    FakePrompts prompts;
    std::unique_ptr<TFBrowser> w;

    void TearDown() override { Close(); }
    TFBrowser& Start(const QString& folder = {}) {
        w = std::make_unique<TFBrowser>(ProgramPaths::ForProgramFolder(program.Path()), prompts,
                                        folder);
        w->show();
        return *w;
    }
    void Close() {
        if (w)
            w->close();
        w.reset();
    }
    QString TempFolderPath() const { return program.File(QStringLiteral("Temp")); }
    QStringList Texts(int column) const {
        QStringList texts;
        for (int row = 0; row < w->FileModel().rowCount(); ++row)
            texts << Column(row, column);
        return texts;
    }
    QStringList Names() const { return Texts(0); }
    QString Column(int row, int column) const {
        return w->FileModel().index(row, column).data().toString();
    }
    int RowOf(const QString& name) const { return int(Names().indexOf(name)); }
    void Select(const QStringList& names) {
        QItemSelectionModel* selection = w->FileList()->selectionModel();
        selection->clearSelection();
        for (const QString& name : names) {
            const int row = RowOf(name);
            EXPECT_GE(row, 0) << name.toStdString();
            selection->select(w->FileModel().index(row, 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    void ClickRow(const QString& name, bool twice = false) {
        QTreeView* list = w->FileList();
        const QRect rect = list->visualRect(w->FileModel().index(RowOf(name), 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        if (twice)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QCoreApplication::processEvents();
    }
    void DoubleClickRow(const QString& name) { ClickRow(name, true); }
    void ClickHeader(int column) { ClickSection(w->FileList()->header(), column); }
    static void ClickSection(QHeaderView* header, int column) {
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
    }
    // Keys reach the list's shortcuts (Del) only in the active window.
    void FocusList() {
        QApplication::setActiveWindow(w.get());
        w->FileList()->setFocus();
        QCoreApplication::processEvents();
    }
    static QByteArray Read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};
