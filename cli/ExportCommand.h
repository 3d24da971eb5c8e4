// brisko-cli export: the handheld's memos, addresses, to-dos, appointments and e-books of
// the given files (or the Palm files of given folders) into today's formats.
#pragma once

#include <QStringList>
#include <QTextStream>

int ExportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                  const char* usage);
