#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <optional>

// One command of sw38591-cli: what `--help` and `help NAME` show, and what its parser takes.
//
// To add a command NAME:
//   1. cli/cmd_<name>.cpp defines `Cli_Command <Name>_Command()` (name, synopsis, description,
//      options, positional arguments, and Cmd_<Name> as `run`) and
//          int Cmd_<Name>(const QStringList& args, QTextStream& out, QTextStream& err)
//      which begins with
//          QCommandLineParser p;
//          if (const auto rc = Cli_Parse(p, <Name>_Command(), args, out, err))
//              return *rc;
//      and then reads p.value("option"), p.isSet("flag") and p.positionalArguments().
//   2. Declare both in cli/Commands.h, add `<Name>_Command()` to the table in main.cpp and the
//      file to cli/CMakeLists.txt.
// Exit codes: 0 done, 1 failed, 2 wrong usage (Cli_Parse and Cli_Wrong_Usage print why).
struct Cli_Argument {
    QString name;        // as the synopsis writes it: CONF_DIR, FILE
    QString description; // also says what is missing: "<description> is missing"
};

struct Cli_Command {
    QString name;
    QString synopsis;    // after "sw38591-cli "; a second line for a long one
    QString description; // lines of the overview, without indent
    QList<QCommandLineOption> options;
    // Each is needed once, in this order, and no more are taken.
    QList<Cli_Argument> arguments;
    int (*run)(const QStringList& args, QTextStream& out, QTextStream& err) = nullptr;
};

// Parses `args` (without the command name) for `command`. Returns nothing when the command
// goes on, 0 after printing the help for --help or -h, and 2 after naming what was wrong
// (unknown option, an option given twice or with no value, a missing or extra argument) with
// the command's usage.
std::optional<int> Cli_Parse(QCommandLineParser& parser, const Cli_Command& command,
                             const QStringList& args, QTextStream& out, QTextStream& err);

// Prints "sw38591-cli NAME: <what>" and the command's usage; returns 2.
int Cli_Wrong_Usage(const Cli_Command& command, const QString& what, QTextStream& err);

// "Usage: sw38591-cli <synopsis>" with the following lines of a long synopsis.
QString Cli_Usage_Line(const Cli_Command& command);

// The whole help of one command: usage, description, arguments, options.
QString Cli_Help(const Cli_Command& command);

// The overview of all commands, as --help prints it.
QString Cli_Overview(const QList<Cli_Command>& commands);
