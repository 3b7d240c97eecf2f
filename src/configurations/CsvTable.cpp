#include "configurations/CsvTable.h"

#include "app/UComon.h"
#include "configurations/ConfigFiles.h"
#include "language/ULanguage.h"

#include <QDir>
#include <QStringDecoder>

namespace {

template <typename Row> Csv_Layout Layout_Of(int firstTitle, int key)
{
    Csv_Layout l;
    for (int c = 0; c < Row::Count; ++c) {
        l.titles << Default_Msg(firstTitle + c);
        l.names << QString::fromLatin1(Row::Names()[c]);
        l.defaults << QString::fromLatin1(Row::Defaults()[c]);
    }
    l.key = key;
    return l;
}

struct Csv_Line {
    QStringList cells;
    int line = 0; // where it starts
};

[[noreturn]] void Fail(const QString& file, int line, const QString& what)
{
    throw App_Error(
        QStringLiteral("%1, line %2: %3").arg(QDir::toNativeSeparators(file)).arg(line).arg(what));
}

// Splits the whole text into records; quoted cells may hold separators and line breaks.
QList<Csv_Line> Split_Records(const QString& text, QChar sep, const QString& file)
{
    QList<Csv_Line> out;
    Csv_Line rec;
    QString cell;
    int line = 1;
    rec.line = 1;
    bool atCellStart = true;
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto endRecord = [&] {
        rec.cells << cell;
        out << rec;
        rec = Csv_Line{};
        cell.clear();
        atCellStart = true;
    };
    while (i < n) {
        const QChar c = text.at(i);
        if (atCellStart && c == QLatin1Char('"')) {
            const int startLine = line;
            ++i;
            for (;;) {
                if (i >= n)
                    Fail(file, startLine, QStringLiteral("a quoted cell is not closed"));
                const QChar q = text.at(i);
                if (q == QLatin1Char('"')) {
                    if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                        cell += q;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (q == QLatin1Char('\n') ||
                    (q == QLatin1Char('\r') && !(i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))))
                    ++line;
                cell += q;
                ++i;
            }
            if (i < n && text.at(i) != sep && text.at(i) != QLatin1Char('\r') &&
                text.at(i) != QLatin1Char('\n'))
                Fail(file, line, QStringLiteral("text after the closing quote of a cell"));
            atCellStart = false;
            continue;
        }
        if (c == sep) {
            rec.cells << cell;
            cell.clear();
            atCellStart = true;
            ++i;
            continue;
        }
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            i += (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n')) ? 2
                                                                                              : 1;
            endRecord();
            ++line;
            rec.line = line;
            continue;
        }
        if (c == QLatin1Char('"'))
            Fail(file, line, QStringLiteral("a quote inside a cell that does not begin with one"));
        cell += c;
        atCellStart = false;
        ++i;
    }
    if (!cell.isEmpty() || !rec.cells.isEmpty())
        endRecord();
    return out;
}

int Column_Of(const Csv_Layout& layout, const QString& title)
{
    const QString t = title.trimmed();
    for (int c = 0; c < layout.titles.size(); ++c)
        if (t.compare(layout.titles[c], Qt::CaseInsensitive) == 0 ||
            t.compare(layout.names[c], Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

// The first line up to its first line break outside quotes.
QString Header_Line(const QString& text)
{
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\r') || c == QLatin1Char('\n')))
            return text.left(i);
    }
    return text;
}

QChar Detect_Separator(const QString& text, const Csv_Layout& layout)
{
    const QString header = Header_Line(text);
    QChar best = QLatin1Char(',');
    int bestKnown = -1;
    for (const QChar sep : {QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t')}) {
        int known = 0;
        for (const QString& t : header.split(sep))
            known += Column_Of(layout, QString(t).remove(QLatin1Char('"'))) >= 0 ? 1 : 0;
        if (known > bestKnown) {
            bestKnown = known;
            best = sep;
        }
    }
    return best;
}

} // namespace

Csv_Layout Receive_Csv_Layout()
{
    return Layout_Of<Receive_Frame_Row>(615, 1);
}
Csv_Layout Send_Csv_Layout()
{
    return Layout_Of<Send_Frame_Row>(715, 0);
}

QByteArray Csv_Text(const Csv_Layout& layout, const QList<QStringList>& rows)
{
    QString text;
    const auto line = [&](const QStringList& cells) {
        QStringList q;
        for (const QString& c : cells)
            q << Csv_Quoted(c);
        text += q.join(QLatin1Char(',')) + QLatin1String("\r\n");
    };
    line(layout.titles);
    for (const QStringList& r : rows)
        line(r);
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QString Decode_Text_File(const QByteArray& bytes)
{
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(body);
    if (!utf8.hasError())
        return text;
    return Decode_Lng_Bytes(body); // without a BOM it reads Windows-1252
}

Csv_Import Read_Csv_Table(const QByteArray& bytes, const QString& fileName,
                          const Csv_Layout& layout)
{
    const QString text = Decode_Text_File(bytes);
    Csv_Import r;
    r.separator = Detect_Separator(text, layout);
    const QList<Csv_Line> records = Split_Records(text, r.separator, fileName);
    if (records.isEmpty())
        Fail(fileName, 1, QStringLiteral("expected a header line with the column titles"));

    const Csv_Line& header = records.first();
    QList<int> columnOf; // per cell of a line: the row cell, or -1
    QList<bool> seen(layout.titles.size(), false);
    for (const QString& title : header.cells) {
        const int c = Column_Of(layout, title);
        if (c >= 0 && seen[c])
            Fail(fileName, header.line,
                 QStringLiteral("the column \"%1\" is given twice").arg(layout.titles[c]));
        if (c >= 0)
            seen[c] = true;
        else if (!title.trimmed().isEmpty())
            r.unknown << title;
        columnOf << c;
    }
    if (!seen[layout.key])
        Fail(fileName, header.line,
             QStringLiteral("expected a column \"%1\"").arg(layout.titles[layout.key]));

    for (qsizetype k = 1; k < records.size(); ++k) {
        const Csv_Line& rec = records[k];
        if (rec.cells.join(QString()).trimmed().isEmpty())
            continue;
        if (rec.cells.size() != header.cells.size())
            Fail(fileName, rec.line,
                 QStringLiteral("%1 cells, expected %2 as in the header")
                     .arg(rec.cells.size())
                     .arg(header.cells.size()));
        QStringList row = layout.defaults;
        for (qsizetype i = 0; i < rec.cells.size(); ++i)
            if (columnOf[i] >= 0)
                row[columnOf[i]] = rec.cells[i];
        if (row[layout.key].trimmed().isEmpty())
            Fail(fileName, rec.line,
                 QStringLiteral("the cell \"%1\" is blank; a row without it would end the table")
                     .arg(layout.titles[layout.key]));
        r.rows << row;
        r.lines << rec.line;
    }
    return r;
}

QList<QStringList> Read_Csv_Records(const QByteArray& bytes, const QString& fileName)
{
    QList<QStringList> out;
    for (const Csv_Line& rec : Split_Records(Decode_Text_File(bytes), QLatin1Char(','), fileName))
        if (!rec.cells.join(QString()).trimmed().isEmpty())
            out << rec.cells;
    return out;
}

QString Csv_Quoted(const QString& cell)
{
    const bool needs = cell.contains(QLatin1Char(',')) || cell.contains(QLatin1Char('"')) ||
                       cell.contains(QLatin1Char('\n')) || cell.contains(QLatin1Char('\r')) ||
                       (!cell.isEmpty() && (cell.front().isSpace() || cell.back().isSpace()));
    if (!needs)
        return cell;
    QString out = cell;
    out.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}
