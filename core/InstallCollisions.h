// What to ask about before files go to the install tool: the handheld keeps one database
// of a name, so two files with one database name replace each other; a damaged file may
// be refused or crash the handheld; a file that is no Palm database is of no use there.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

// One file about to be installed, as its header and entry list show it.
struct InstallInspection {
    QString File;
    bool IsPalmDatabase = false; // false: unreadable, or shorter than a header
    std::string NameBytes;       // the database name's bytes up to its NUL
    QString DatabaseName;        // the same, as text
    bool Damaged = false;        // the check found something damaged
    QString Problem;             // why it is no Palm database, or its first damage
};

// Reads the header and the entry list of file (no record bytes).
InstallInspection InspectForInstall(const QString& file);

enum class InstallConcernKind { SameDatabaseName, Damaged, NotPalmDatabase };

struct InstallConcern {
    InstallConcernKind Kind;
    QStringList Files;    // two or more for SameDatabaseName, else one
    QString DatabaseName; // SameDatabaseName: the shared name
    QString Text;         // translated, for the question
};

// The concerns about installing candidates together, in this order: database names that
// more than one file has (by the name's bytes, in the order the names first appear),
// then damaged files, then files that are no Palm database, each in the given order.
// Empty when there is nothing to ask.
std::vector<InstallConcern> InstallConcerns(const std::vector<InstallInspection>& candidates);
