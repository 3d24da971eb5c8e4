// Starting an outside program with a Windows-style parameter string, as the Windows
// shell does for the install tool. On Windows the string goes to the program as it is;
// elsewhere it is split as the program's C runtime would split it, and a Windows
// program (.exe) is started through Wine, which must be on PATH.
#pragma once

#include <QString>
#include <QStringList>

// Splits a parameter string by the rules of the Microsoft C runtime: blanks separate
// arguments, double quotes group them, 2n backslashes before a quote give n backslashes,
// 2n+1 give n and a literal quote, "" inside quotes gives a literal quote.
QStringList SplitWindowsCommandLine(const QString& parameters);

// The path as program must be given it: a Windows path on one of the Wine prefix's
// drives ($WINEPREFIX, else ~/.wine) for a Windows program run through Wine (Z: for
// the root when no drive holds the path), the path unchanged otherwise.
QString PathForProgram(const QString& program, const QString& path);

// Starts program with parameters, without waiting for it; a path among them keeps its
// bytes (DecodePath). False, with the reason in error, when it could not be started (no
// such program, Wine missing).
bool StartProgram(const QString& program, const QString& parameters, QString* error);
