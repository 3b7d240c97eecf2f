#include "editors/TableText.h"

#include "configurations/TextToInt.h"

#include <QRegularExpression>

QString Rows_To_Tab_Text(const QList<QStringList>& rows)
{
    QString text;
    for (const QStringList& row : rows) {
        QStringList cells;
        for (const QString& cell : row) {
            // A tab or line break inside a cell would split it: quote it as a spreadsheet does.
            if (cell.contains(QLatin1Char('\t')) || cell.contains(QLatin1Char('\n')) ||
                cell.contains(QLatin1Char('\r')) || cell.startsWith(QLatin1Char('"')))
                cells << QLatin1Char('"') +
                             QString(cell).replace(QLatin1String("\""), QLatin1String("\"\"")) +
                             QLatin1Char('"');
            else
                cells << cell;
        }
        text += cells.join(QLatin1Char('\t')) + QLatin1String("\r\n");
    }
    return text;
}

QList<QStringList> Tab_Text_To_Rows(const QString& text)
{
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false, started = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (quoted) {
            if (ch == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    cell += ch;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                cell += ch;
            }
            continue;
        }
        if (ch == QLatin1Char('"') && cell.isEmpty()) {
            quoted = true;
            started = true;
        } else if (ch == QLatin1Char('\t')) {
            row << cell;
            cell.clear();
            started = true;
        } else if (ch == QLatin1Char('\n') || ch == QLatin1Char('\r')) {
            if (ch == QLatin1Char('\r') && i + 1 < text.size() &&
                text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            row << cell;
            rows << row;
            row.clear();
            cell.clear();
            started = false;
        } else {
            cell += ch;
            started = true;
        }
    }
    if (started || !cell.isEmpty())
        rows << (row << cell);
    return rows;
}

QString Number_Tip(const QString& text)
{
    const auto value = Parse_Int(text);
    if (!value)
        return {};
    const QString t = text.trimmed();
    static const QRegularExpression decimal(QStringLiteral("^[+-]?[0-9]+$"));
    if (decimal.match(t).hasMatch()) {
        if (*value < 0)
            return {};
        return t + QLatin1String(" = 0x") + QString::number(*value, 16).toUpper();
    }
    return t + QLatin1String(" = ") + QString::number(*value);
}

bool Is_Bare_Hex(const QString& text)
{
    static const QRegularExpression bare(QStringLiteral("^[0-9A-Fa-f]*[A-Fa-f][0-9A-Fa-f]*$"));
    return !Parse_Int(text) && bare.match(text.trimmed()).hasMatch();
}
