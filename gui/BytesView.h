// A read-only window of one entry's bytes: offset, hex and Windows-1252 text, 16 a row.
// Rows are read as they are shown. The selected rows are copied as hex (Ctrl+C) or as
// text from the popup menu. A record of a known kind also shows as a person reads it, in
// a pane beside the bytes.
#pragma once

#include <QDialog>
#include <memory>

class ByteSource;
class EntryBytesModel;
class QAction;
class QLabel;
class QPlainTextEdit;
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
    // Shows text in a pane to the right of the bytes, made and the window widened the
    // first time.
    void ShowPreview(const QString& text);
    // The pane's text; null while no preview is shown.
    QPlainTextEdit* Preview() const { return FPreview; }

    QAction* CopyHexItem;
    QAction* CopyTextItem;

private:
    EntryBytesModel* FBytes;
    BytesGrid* FList;
    QLabel* FProblem;
    QPlainTextEdit* FPreview = nullptr;
};
