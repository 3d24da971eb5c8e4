// The Creator IDs dialog: the whole creator catalogue as a table, where the user fills in
// or clears the program, description and web address of one creator ID at a time. Its rows
// are copies made when it is shown; every change goes to the catalogue at once. Rows and
// entries are matched by creator ID, not by position: the rows are sorted, the catalogue
// is not.
#pragma once

#include <QCollator>
#include <QDialog>
#include <string>

class ListeDerLinks;
class Prompts;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class TFInfo : public QDialog {
    Q_OBJECT
public:
    TFInfo(ListeDerLinks& catalogue, Prompts& prompts, QWidget* parent = nullptr);

    // Asks for the three texts of the selected row's entry, one box after the other.
    void SBEditClick();
    // Empties the three texts of the selected row's entry, without a question.
    void SBResetClick();
    // A header click: that column ascending, or the other way round when it is the column
    // the rows are sorted by.
    void SortColumnClick(int column);

    QTreeWidget* LVIDs;
    QPushButton* SBEdit;
    QPushButton* SBReset;
    QPushButton* SBClose;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Fill();
    void SortRows(int column, Qt::SortOrder order);
    void UpdateButtons();
    // The selected row and its entry's index, or nullptr when there is none of either.
    QTreeWidgetItem* SelectedRow(int& index, std::string& creatorID) const;

    ListeDerLinks& FCatalogue;
    Prompts& FPrompts;
    QCollator FCollator;
    int FSortColumn = 0;
    Qt::SortOrder FSortOrder = Qt::AscendingOrder;
};
