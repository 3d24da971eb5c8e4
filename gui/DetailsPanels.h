// The three panels that describe the selected Palm file: "General" (the program its
// creator ID belongs to), "Database information" (twelve header fields) and "Flags"
// (six attribute bits). They only display; the window decides what.
#pragma once

#include "core/HeaderDetails.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QLabel;
class QTreeWidget;
class ListeDerLinks;
class Prompts;
struct TLinks;
struct TPDBHeader;

class GeneralPanel : public QWidget {
    Q_OBJECT
public:
    GeneralPanel(Prompts& prompts, QWidget* parent = nullptr);

    // Empty title without underline, no link, no description.
    void Clear();
    // The entry's program (or "Not specified"), description (or "No description") and
    // link; without an entry everything is cleared.
    void ShowEntry(const TLinks* entry);

    QLabel* tbxlTitle;
    QLabel* TBXLink;
    QLabel* tbxlFileInfo;

private:
    Prompts& FPrompts;
};

class DatabaseInfoPanel : public QWidget {
    Q_OBJECT
public:
    explicit DatabaseInfoPanel(QWidget* parent = nullptr);

    void AddDetailRow(int index, const QString& value);
    void SetDetailRow(int index, const QString& value);
    QString DetailValue(int index) const;
    // Asks for the height that shows every row without scrolling; with less room the
    // list scrolls.
    void FitHeightToRows();
    QSize sizeHint() const override;
    // Column captions; called again when the language changes.
    void SetColumnCaptions();

    QTreeWidget* AdvListViewDB;

private:
    int FRowsHeight = 0;
};

class FlagsPanel : public QWidget {
    Q_OBJECT
public:
    explicit FlagsPanel(QWidget* parent = nullptr);

    void SetFlags(const std::array<bool, FlagCount>& flags);

    // In panel order: read only, dirty, backup, overwrite, force reset, no beaming.
    std::array<QCheckBox*, FlagCount> Boxes;
};

// The three panels show a header, and the program the catalogue names for its creator; a
// null header clears them.
void ShowHeaderDetails(GeneralPanel& general, DatabaseInfoPanel& info, FlagsPanel& flags,
                       const TPDBHeader* header, const ListeDerLinks& catalogue);
