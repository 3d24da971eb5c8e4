// A read-only window of one entry's bytes: offset, hex and Windows-1252 text, 16 a row.
// Rows are read as they are shown. The selected rows are copied as hex (Ctrl+C) or as
// text from the popup menu.
#pragma once

#include <QDialog>
#include <memory>

class ByteSource;
class EntryBytesModel;
class QAction;
class QLabel;
class BytesGrid;
struct ContentsEntry;

class BytesView : public QDialog {
    Q_OBJECT
public:
    // title names the file and the entry.
    BytesView(std::unique_ptr<ByteSource> source, const ContentsEntry& entry, const QString& title,
              QWidget* parent = nullptr);

    EntryBytesModel& Bytes() { return *FBytes; }
    BytesGrid* List() const { return FList; }
    // The selected rows' bytes to the clipboard.
    void CopySelection(bool hex);

    QAction* CopyHexItem;
    QAction* CopyTextItem;

private:
    EntryBytesModel* FBytes;
    BytesGrid* FList;
    QLabel* FProblem;
};
