// The "Contents" panel: the records or resources of the selected Palm file, its app info
// and sort info blocks, damaged entries marked with why. Enter or a double-click shows an
// entry's bytes, beside them a record of a known kind as text; the popup menu extracts
// entries into a folder.
#pragma once

#include "export/CodePage.h"

#include <QWidget>

class BytesView;
class ContentsTableModel;
class QAction;
struct ContentsEntry;
class Prompts;
class QLabel;
class QTreeView;

class ContentsPanel : public QWidget {
    Q_OBJECT
public:
    ContentsPanel(Prompts& prompts, QWidget* parent = nullptr);

    // Lists the contents of file; an empty path clears the panel. A file that cannot be
    // read leaves the list empty and says why.
    void ShowFile(const QString& file);
    const QString& File() const { return FFile; }
    // The file-wide problems shown above the list ("" when there are none).
    QString ProblemText() const;

    ContentsTableModel& Rows() { return *FRows; }
    QTreeView* List() const { return FList; }
    // The rows selected, in the order shown.
    QList<int> SelectedRows() const;

    // The bytes of the entry of row in a window of their own (closed, it is released),
    // with the record's preview where its database is of a kind Brisko reads.
    BytesView* ShowEntryBytes(int row);
    // The character set of the previews' texts (Windows-1252 until set).
    void SetCodePage(const CodePage& page) { FCodePage = page; }
    const CodePage& TextCodePage() const { return FCodePage; }
    // The selected entries (or all) into a folder the user picks; existing files are
    // replaced only after the overwrite question; failures are reported once at the end.
    void ExtractEntries(bool all);

    QAction* ExtractSelectedItem;
    QAction* ExtractAllItem;

    // "Record 3", "Resource tSTR 1000", "App info": for titles and messages.
    static QString EntryName(const ContentsEntry& entry);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FitColumns();

    Prompts& FPrompts;
    QString FFile;
    ContentsTableModel* FRows;
    QTreeView* FList;
    QLabel* FProblems;
    CodePage FCodePage;
};
