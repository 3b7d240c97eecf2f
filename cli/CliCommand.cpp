#include "CliCommand.h"

namespace {

constexpr int Column = 15; // where the descriptions of the overview and the help start

QString Indented(const QString& text, int indent)
{
    QString out;
    for (const QString& line : text.split(QLatin1Char('\n')))
        out += QString(indent, QLatin1Char(' ')) + line + QLatin1Char('\n');
    return out;
}

// "  NAME         first line\n" + the other lines under it; a name too long for the column
// gets its description on the next line.
QString Entry(const QString& name, const QString& description)
{
    QString head = QStringLiteral("  ") + name;
    if (head.size() + 1 > Column) {
        head += QLatin1Char('\n');
        return head + Indented(description, Column);
    }
    const QString body = Indented(description, Column);
    return head + body.mid(head.size());
}

QString Option_Name(const QString& name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString Option_Title(const QCommandLineOption& o)
{
    QStringList names;
    for (const QString& n : o.names())
        names << Option_Name(n);
    QString title = names.join(QStringLiteral(", "));
    if (!o.valueName().isEmpty())
        title += QLatin1Char(' ') + o.valueName();
    return title;
}

const QCommandLineOption& Help_Option()
{
    static const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                         QStringLiteral("show this help"));
    return help;
}

} // namespace

QString Cli_Usage_Line(const Cli_Command& command)
{
    return QStringLiteral("Usage: sw38591-cli ") + command.synopsis + QLatin1Char('\n');
}

QString Cli_Help(const Cli_Command& command)
{
    QString text =
        Cli_Usage_Line(command) + QLatin1Char('\n') + command.description + QLatin1Char('\n');
    if (!command.arguments.isEmpty()) {
        text += QStringLiteral("\nArguments:\n");
        for (const Cli_Argument& a : command.arguments)
            text += Entry(a.name, a.description);
    }
    text += QStringLiteral("\nOptions:\n");
    for (const QCommandLineOption& o : command.options)
        text += Entry(Option_Title(o), o.description());
    text += Entry(Option_Title(Help_Option()), Help_Option().description());
    return text;
}

QString Cli_Overview(const QList<Cli_Command>& commands)
{
    QString text = QStringLiteral("Usage: sw38591-cli COMMAND [ARGUMENTS]\n"
                                  "\n"
                                  "Commands:\n"
                                  "  --help       show this text\n"
                                  "  --version    print the program version\n");
    for (const Cli_Command& c : commands)
        text += Entry(c.synopsis, c.description);
    text += QStringLiteral("\n'sw38591-cli help COMMAND' or 'sw38591-cli COMMAND --help' "
                           "shows the help of a command.\n");
    return text;
}

int Cli_Wrong_Usage(const Cli_Command& command, const QString& what, QTextStream& err)
{
    err << "sw38591-cli " << command.name << ": " << what << "\n\n" << Cli_Usage_Line(command);
    return 2;
}

std::optional<int> Cli_Parse(QCommandLineParser& parser, const Cli_Command& command,
                             const QStringList& args, QTextStream& out, QTextStream& err)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.addOptions(command.options);
    parser.addOption(Help_Option());
    // The first element is the program's name for the parser.
    const bool parsed = parser.parse(QStringList{QStringLiteral("sw38591-cli")} + args);
    if (parser.isSet(Help_Option())) {
        out << Cli_Help(command);
        return 0;
    }
    if (!parsed) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            return Cli_Wrong_Usage(
                command, QStringLiteral("unknown option '%1'").arg(Option_Name(unknown.first())),
                err);
        return Cli_Wrong_Usage(command, parser.errorText().remove(QLatin1Char('.')).toLower(), err);
    }
    // Every option of today's commands is taken once; the parser itself would keep the last.
    QStringList seen;
    for (const QString& name : parser.optionNames()) {
        const auto option =
            std::find_if(command.options.cbegin(), command.options.cend(),
                         [&](const QCommandLineOption& o) { return o.names().contains(name); });
        const QString first = option == command.options.cend() ? name : option->names().first();
        if (seen.contains(first))
            return Cli_Wrong_Usage(command,
                                   QStringLiteral("%1 is given twice").arg(Option_Name(name)), err);
        seen << first;
        if (option != command.options.cend() && !option->valueName().isEmpty() &&
            parser.value(name).isEmpty())
            return Cli_Wrong_Usage(command,
                                   QStringLiteral("%1 needs a value").arg(Option_Name(name)), err);
    }
    const QStringList given = parser.positionalArguments();
    for (qsizetype i = 0; i < given.size(); ++i) {
        if (i >= command.arguments.size() || given[i].isEmpty())
            return Cli_Wrong_Usage(command,
                                   QStringLiteral("unexpected argument '%1'").arg(given[i]), err);
    }
    if (given.size() < command.arguments.size())
        return Cli_Wrong_Usage(
            command, command.arguments[given.size()].description + QStringLiteral(" is missing"),
            err);
    return std::nullopt;
}
