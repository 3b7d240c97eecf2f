#pragma once

#include <QStringList>
#include <QTextStream>

// check CONF_DIR: runs the editors' OK checks on the stored files of a configuration.
// Prints one line per failing file; 0 when all pass, 1 when any fails, 2 for bad arguments.
int Cmd_Check(const QStringList& args, QTextStream& out, QTextStream& err);
