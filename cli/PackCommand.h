// brisko-cli pack: the given files (or the Palm files of given folders) into a new ZIP
// archive, for emulators and other tools that install from one.
#pragma once

#include <QStringList>
#include <QTextStream>

int PackCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                const char* usage);
