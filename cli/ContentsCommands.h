// brisko-cli's commands that look inside databases: contents, extract and check. Each
// takes the arguments after its name and prints usage on err for arguments it cannot use.
#pragma once

#include <QStringList>
#include <QTextStream>

int ContentsCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                    const char* usage);
int ExtractCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                   const char* usage);
int CheckCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                 const char* usage);
