#pragma once

#include "CliCommand.h"

// Each command's description and function, defined in its cli/cmd_<name>.cpp.
Cli_Command Compile_Command();
Cli_Command Dump_Command();
Cli_Command Check_Command();
Cli_Command Compose_Command();
Cli_Command Export_Command();
Cli_Command Import_Command();
Cli_Command Diff_Command();
Cli_Command Buscheck_Command();
Cli_Command Report_Command();

int Cmd_Compile(const QStringList& args, QTextStream& out, QTextStream& err);
int Cmd_Dump(const QStringList& args, QTextStream& out, QTextStream& err);
int Cmd_Check(const QStringList& args, QTextStream& out, QTextStream& err);
int Cmd_Compose(const QStringList& args, QTextStream& out, QTextStream& err);
int Cmd_Export(const QStringList& args, QTextStream& out, QTextStream& err);
int Cmd_Import(const QStringList& args, QTextStream& out, QTextStream& err);
int Cmd_Diff(const QStringList& args, QTextStream& out, QTextStream& err);
int Cmd_Buscheck(const QStringList& args, QTextStream& out, QTextStream& err);
int Cmd_Report(const QStringList& args, QTextStream& out, QTextStream& err);
