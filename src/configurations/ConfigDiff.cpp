#include "configurations/ConfigDiff.h"

#include "app/UComon.h"
#include "configurations/ConfigFiles.h"
#include "configurations/CsvTable.h"
#include "configurations/XmlFile.h"

namespace {

template <typename Row>
void Compare_Rows(const QString& file, const QList<Row>& a, const QList<Row>& b,
                  const QStringList& titles, QList<Config_Difference>& out)
{
    const auto cells = [](const Row& r) {
        QStringList c;
        for (int i = 0; i < Row::Count; ++i)
            c << r.field(i);
        return c.join(QStringLiteral(", "));
    };
    const qsizetype n = qMax(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        Config_Difference d;
        d.file = file;
        d.row = int(i) + 1;
        if (i >= b.size()) {
            d.kind = Config_Difference::Kind::Only_In_A;
            d.a = cells(a[i]);
            out << d;
            continue;
        }
        if (i >= a.size()) {
            d.kind = Config_Difference::Kind::Only_In_B;
            d.b = cells(b[i]);
            out << d;
            continue;
        }
        for (int c = 0; c < Row::Count; ++c) {
            if (a[i].field(c) == b[i].field(c))
                continue;
            d.column = titles.value(c);
            d.cell = c;
            d.a = a[i].field(c);
            d.b = b[i].field(c);
            out << d;
        }
    }
}

// A cell's line break would split the difference over two lines.
QString Quoted(const QString& s)
{
    return QLatin1Char('"') + One_Line_Text(s) + QLatin1Char('"');
}

} // namespace

QList<Config_Difference> Compare_Configurations(const QString& dirA, const QString& dirB)
{
    QList<Config_Difference> out;
    const QString parGen = QStringLiteral("ParGen.xml");
    const ParGen_Settings a = Read_ParGen(Path_Join(dirA, parGen)).values;
    const ParGen_Settings b = Read_ParGen(Path_Join(dirB, parGen)).values;
    for (int i = 0; i < ParGen_Settings::Count; ++i) {
        if (a.field(i) == b.field(i))
            continue;
        Config_Difference d;
        d.file = parGen;
        d.column = QString::fromLatin1(ParGen_Settings::Names()[i]);
        d.a = a.field(i);
        d.b = b.field(i);
        out << d;
    }
    const QString receive = QStringLiteral("Receive_Frame.xml");
    Compare_Rows(receive, Read_Receive_Frames(Path_Join(dirA, receive)),
                 Read_Receive_Frames(Path_Join(dirB, receive)), Receive_Csv_Layout().titles, out);
    const QString send = QStringLiteral("Send_Frame.xml");
    Compare_Rows(send, Read_Send_Frames(Path_Join(dirA, send)),
                 Read_Send_Frames(Path_Join(dirB, send)), Send_Csv_Layout().titles, out);
    return out;
}

QString Difference_Line(const Config_Difference& d)
{
    QString line = d.file + QStringLiteral(": ");
    if (d.row > 0)
        line += QStringLiteral("row ") + QString::number(d.row) + QStringLiteral(": ");
    switch (d.kind) {
    case Config_Difference::Kind::Only_In_A:
        return line + QStringLiteral("only in A");
    case Config_Difference::Kind::Only_In_B:
        return line + QStringLiteral("only in B");
    case Config_Difference::Kind::Value:
        break;
    }
    return line + d.column + QStringLiteral(": ") + Quoted(d.a) + QStringLiteral(" -> ") +
           Quoted(d.b);
}
