#include "configurations/DbcFile.h"

#include "app/UComon.h"
#include "configurations/ConfigFiles.h"
#include "configurations/CsvTable.h"
#include "configurations/TextToInt.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <tuple>

namespace {

enum class Tok { End, Ident, Number, String, Punct };

struct Token {
    Tok kind = Tok::End;
    QString text;
    int line = 0;
};

class Lexer final {
public:
    Lexer(const QString& text, const QString& file) : m_text(text), m_file(file) {}

    QList<Token> Tokens()
    {
        QList<Token> out;
        for (;;) {
            Token t = Next();
            out << t;
            if (t.kind == Tok::End)
                return out;
        }
    }

private:
    QChar At(qsizetype i) const { return i < m_text.size() ? m_text.at(i) : QChar(); }

    static bool Ident_Start(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
    static bool Ident_Part(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

    Token Next()
    {
        for (;;) {
            while (m_pos < m_text.size() && m_text.at(m_pos).isSpace()) {
                if (m_text.at(m_pos) == QLatin1Char('\n'))
                    ++m_line;
                ++m_pos;
            }
            // Comments are no part of the format, but some generators leave them.
            if (At(m_pos) == QLatin1Char('/') && At(m_pos + 1) == QLatin1Char('/')) {
                while (m_pos < m_text.size() && m_text.at(m_pos) != QLatin1Char('\n'))
                    ++m_pos;
                continue;
            }
            break;
        }
        Token t;
        t.line = m_line;
        if (m_pos >= m_text.size())
            return t;
        const QChar c = m_text.at(m_pos);
        const auto digitAt = [&](qsizetype i) {
            return At(i).isDigit() || (At(i) == QLatin1Char('.') && At(i + 1).isDigit());
        };
        if (c == QLatin1Char('"')) {
            t.kind = Tok::String;
            ++m_pos;
            for (;;) {
                if (m_pos >= m_text.size())
                    throw App_Error(QStringLiteral("%1, line %2: a quoted text is not closed")
                                        .arg(QDir::toNativeSeparators(m_file))
                                        .arg(t.line));
                const QChar q = m_text.at(m_pos++);
                if (q == QLatin1Char('"'))
                    break;
                if (q == QLatin1Char('\\') && m_pos < m_text.size() &&
                    (m_text.at(m_pos) == QLatin1Char('"') ||
                     m_text.at(m_pos) == QLatin1Char('\\'))) {
                    t.text += m_text.at(m_pos++);
                    continue;
                }
                if (q == QLatin1Char('\n'))
                    ++m_line;
                t.text += q;
            }
            t.text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            return t;
        }
        if (digitAt(m_pos) ||
            ((c == QLatin1Char('-') || c == QLatin1Char('+')) && digitAt(m_pos + 1))) {
            t.kind = Tok::Number;
            const qsizetype start = m_pos++;
            while (m_pos < m_text.size()) {
                const QChar d = m_text.at(m_pos);
                if (d.isDigit() || d == QLatin1Char('.'))
                    ++m_pos;
                else if ((d == QLatin1Char('e') || d == QLatin1Char('E')) &&
                         (At(m_pos + 1).isDigit() || ((At(m_pos + 1) == QLatin1Char('-') ||
                                                       At(m_pos + 1) == QLatin1Char('+')) &&
                                                      At(m_pos + 2).isDigit())))
                    m_pos += 2;
                else
                    break;
            }
            t.text = m_text.mid(start, m_pos - start);
            return t;
        }
        if (Ident_Start(c)) {
            t.kind = Tok::Ident;
            const qsizetype start = m_pos;
            while (m_pos < m_text.size() && Ident_Part(m_text.at(m_pos)))
                ++m_pos;
            t.text = m_text.mid(start, m_pos - start);
            return t;
        }
        t.kind = Tok::Punct;
        t.text = c;
        ++m_pos;
        return t;
    }

    const QString& m_text;
    QString m_file;
    qsizetype m_pos = 0;
    int m_line = 1;
};

// Sections that start a statement; a node list or a skipped section ends at the next one.
const QSet<QString>& Keywords()
{
    static const QSet<QString> k = {"VERSION",
                                    "NS_",
                                    "BS_",
                                    "BU_",
                                    "VAL_TABLE_",
                                    "BO_",
                                    "SG_",
                                    "BO_TX_BU_",
                                    "EV_",
                                    "ENVVAR_DATA_",
                                    "SGTYPE_",
                                    "CM_",
                                    "BA_DEF_",
                                    "BA_DEF_DEF_",
                                    "BA_",
                                    "VAL_",
                                    "SIG_VALTYPE_",
                                    "SIG_GROUP_",
                                    "SG_MUL_VAL_",
                                    "BA_DEF_REL_",
                                    "BA_REL_",
                                    "BA_DEF_DEF_REL_",
                                    "BU_SG_REL_",
                                    "BU_EV_REL_",
                                    "BU_BO_REL_",
                                    "CAT_DEF_",
                                    "CAT_",
                                    "FILTER",
                                    "SIGTYPE_VALTYPE_",
                                    "NS_DESC_",
                                    "BA_DEF_SGTYPE_",
                                    "BA_SGTYPE_",
                                    "SIG_TYPE_REF_",
                                    "SGTYPE_VAL_",
                                    "ENVVAR_DATA_"};
    return k;
}

struct Attribute_Def {
    QString object; // "BO_", "SG_", "BU_", "EV_" or "" for the network
    QStringList enumeration;
    QString default_value;
};

class Parser final {
public:
    Parser(QList<Token> tokens, const QString& file) : m_t(std::move(tokens)), m_file(file) {}

    Dbc_File Parse()
    {
        while (Peek().kind != Tok::End) {
            const Token kw = Take();
            if (kw.kind != Tok::Ident)
                Fail(kw, QStringLiteral("a section keyword such as BO_"));
            const QString& k = kw.text;
            if (k == QLatin1String("VERSION"))
                m_out.version = Expect(Tok::String, QStringLiteral("the version text")).text;
            else if (k == QLatin1String("NS_"))
                Skip_New_Symbols();
            else if (k == QLatin1String("BS_"))
                Skip_Line_Of(kw);
            else if (k == QLatin1String("BU_"))
                Nodes();
            else if (k == QLatin1String("BO_"))
                Message(kw);
            else if (k == QLatin1String("SG_"))
                Fail(kw, QStringLiteral("BO_ before its signals"));
            else if (k == QLatin1String("CM_"))
                Comment();
            else if (k == QLatin1String("BA_DEF_"))
                Attribute_Definition();
            else if (k == QLatin1String("BA_DEF_DEF_"))
                Attribute_Default();
            else if (k == QLatin1String("BA_"))
                Attribute();
            else if (k == QLatin1String("VAL_"))
                Values();
            else if (k == QLatin1String("BO_TX_BU_"))
                Transmitters();
            else if (Keywords().contains(k) || k.endsWith(QLatin1Char('_')))
                Skip_Statement(kw);
            else
                Fail(kw, QStringLiteral("a section keyword such as BO_"));
        }
        Apply_Defaults();
        return m_out;
    }

private:
    const Token& Peek(int ahead = 0) const { return m_t[qMin(m_i + ahead, m_t.size() - 1)]; }
    Token Take()
    {
        const Token t = Peek();
        if (m_i < m_t.size() - 1)
            ++m_i;
        return t;
    }
    bool Is_Punct(const Token& t, char c) const
    {
        return t.kind == Tok::Punct && t.text == QLatin1Char(c);
    }

    [[noreturn]] void Fail(const Token& at, const QString& what) const
    {
        const QString found = at.kind == Tok::End ? QStringLiteral("the end of the file")
                              : at.kind == Tok::String
                                  ? QStringLiteral("a quoted text")
                                  : QLatin1Char('\'') + at.text + QLatin1Char('\'');
        throw App_Error(QStringLiteral("%1, line %2: expected %3, found %4")
                            .arg(QDir::toNativeSeparators(m_file))
                            .arg(at.line)
                            .arg(what, found));
    }

    Token Expect(Tok kind, const QString& what)
    {
        if (Peek().kind != kind)
            Fail(Peek(), what);
        return Take();
    }
    void Expect_Punct(char c)
    {
        if (!Is_Punct(Peek(), c))
            Fail(Peek(), QStringLiteral("'%1'").arg(QLatin1Char(c)));
        Take();
    }
    QString Name(const QString& what)
    {
        if (Peek().kind != Tok::Ident || Keywords().contains(Peek().text))
            Fail(Peek(), what);
        return Take().text;
    }
    qint64 Integer(const QString& what)
    {
        const Token t = Expect(Tok::Number, what);
        bool ok = false;
        const qint64 v = t.text.toLongLong(&ok);
        if (!ok)
            Fail(t, what);
        return v;
    }
    double Real(const QString& what)
    {
        const Token t = Expect(Tok::Number, what);
        bool ok = false;
        const double v = t.text.toDouble(&ok);
        if (!ok)
            Fail(t, what);
        return v;
    }
    quint32 Message_Id()
    {
        const Token t = Peek();
        const qint64 v = Integer(QStringLiteral("a message identifier"));
        if (v < 0 || v > 0xFFFFFFFFLL)
            Fail(t, QStringLiteral("a message identifier"));
        return quint32(v);
    }

    void Skip_Statement(const Token& kw)
    {
        while (!Is_Punct(Peek(), ';')) {
            if (Peek().kind == Tok::End)
                Fail(Peek(), QStringLiteral("';' to end the %1 section begun on line %2")
                                 .arg(kw.text)
                                 .arg(kw.line));
            Take();
        }
        Take();
    }
    void Skip_Line_Of(const Token& kw)
    {
        while (Peek().kind != Tok::End && Peek().line == kw.line)
            Take();
    }
    // The list of symbols under NS_ names keywords itself; it ends where the bus section or
    // the node list begins.
    void Skip_New_Symbols()
    {
        static const QSet<QString> after = {"BS_", "BU_", "BO_", "VAL_TABLE_"};
        Expect_Punct(':');
        while (Peek().kind != Tok::End &&
               !(Peek().kind == Tok::Ident && after.contains(Peek().text)))
            Take();
    }
    void Nodes()
    {
        Expect_Punct(':');
        while (Peek().kind == Tok::Ident && !Keywords().contains(Peek().text))
            m_out.nodes << Take().text;
    }

    void Message(const Token& kw)
    {
        Dbc_Message m;
        m.line = kw.line;
        m.id = Message_Id();
        m.name = Name(QStringLiteral("the message name"));
        Expect_Punct(':');
        const Token sizeTok = Peek();
        const qint64 size = Integer(QStringLiteral("the message size in bytes"));
        if (size < 0 || size > 0xFFFF)
            Fail(sizeTok, QStringLiteral("the message size in bytes"));
        m.size = int(size);
        m.sender = Name(QStringLiteral("the sending node"));
        while (Peek().kind == Tok::Ident && Peek().text == QLatin1String("SG_")) {
            Take();
            m.signal_list << Signal();
        }
        m_index.insert(m.id, int(m_out.messages.size()));
        m_out.messages << m;
    }

    Dbc_Signal Signal()
    {
        Dbc_Signal s;
        s.name = Name(QStringLiteral("the signal name"));
        if (Peek().kind == Tok::Ident)
            s.multiplex = Take().text;
        Expect_Punct(':');
        s.start = int(Integer(QStringLiteral("the start bit")));
        Expect_Punct('|');
        s.length = int(Integer(QStringLiteral("the bit length")));
        Expect_Punct('@');
        const Token order = Peek();
        const qint64 o = Integer(QStringLiteral("the byte order 0 or 1"));
        if (o != 0 && o != 1)
            Fail(order, QStringLiteral("the byte order 0 or 1"));
        s.little_endian = o == 1;
        if (Is_Punct(Peek(), '+') || Is_Punct(Peek(), '-'))
            s.is_signed = Take().text == QLatin1String("-");
        else
            Fail(Peek(), QStringLiteral("'+' or '-' for the sign"));
        Expect_Punct('(');
        s.factor = Real(QStringLiteral("the factor"));
        Expect_Punct(',');
        s.offset = Real(QStringLiteral("the offset"));
        Expect_Punct(')');
        Expect_Punct('[');
        s.minimum = Real(QStringLiteral("the minimum"));
        Expect_Punct('|');
        s.maximum = Real(QStringLiteral("the maximum"));
        Expect_Punct(']');
        s.unit = Expect(Tok::String, QStringLiteral("the unit in quotes")).text;
        if (Peek().kind == Tok::Ident && !Keywords().contains(Peek().text)) {
            s.receivers << Take().text;
            while (Is_Punct(Peek(), ',')) {
                Take();
                s.receivers << Name(QStringLiteral("a receiving node"));
            }
        }
        return s;
    }

    Dbc_Message* Message_Of(quint32 id)
    {
        const auto it = m_index.constFind(id);
        return it == m_index.cend() ? nullptr : &m_out.messages[*it];
    }
    Dbc_Signal* Signal_Of(quint32 id, const QString& name)
    {
        if (Dbc_Message* m = Message_Of(id))
            for (Dbc_Signal& s : m->signal_list)
                if (s.name == name)
                    return &s;
        return nullptr;
    }

    void Comment()
    {
        if (Peek().kind == Tok::String) {
            Take();
        } else {
            const QString object =
                Expect(Tok::Ident, QStringLiteral("BU_, BO_, SG_, EV_ or a quoted text")).text;
            if (object == QLatin1String("BO_")) {
                const quint32 id = Message_Id();
                const QString text =
                    Expect(Tok::String, QStringLiteral("the comment in quotes")).text;
                if (Dbc_Message* m = Message_Of(id))
                    m->comment = text;
            } else if (object == QLatin1String("SG_")) {
                const quint32 id = Message_Id();
                const QString name = Name(QStringLiteral("the signal name"));
                const QString text =
                    Expect(Tok::String, QStringLiteral("the comment in quotes")).text;
                if (Dbc_Signal* s = Signal_Of(id, name))
                    s->comment = text;
            } else if (object == QLatin1String("BU_") || object == QLatin1String("EV_")) {
                Name(QStringLiteral("a name"));
                Expect(Tok::String, QStringLiteral("the comment in quotes"));
            } else {
                Fail(m_t[m_i - 1], QStringLiteral("BU_, BO_, SG_, EV_ or a quoted text"));
            }
        }
        Expect_Punct(';');
    }

    void Attribute_Definition()
    {
        Attribute_Def def;
        if (Peek().kind == Tok::Ident)
            def.object = Take().text;
        const QString name =
            Expect(Tok::String, QStringLiteral("the attribute name in quotes")).text;
        const Token type = Expect(Tok::Ident, QStringLiteral("the attribute type"));
        if (type.text == QLatin1String("ENUM")) {
            while (Peek().kind == Tok::String) {
                def.enumeration << Take().text;
                if (Is_Punct(Peek(), ','))
                    Take();
            }
        }
        Skip_Statement(type);
        m_defs.insert(name, def);
    }

    QString Value()
    {
        const Token t = Peek();
        if (t.kind != Tok::String && t.kind != Tok::Number)
            Fail(t, QStringLiteral("a value"));
        return Take().text;
    }

    // Enumerations are written as their position; the tables want the name.
    QString Resolved(const QString& attribute, const QString& value) const
    {
        const auto it = m_defs.constFind(attribute);
        if (it == m_defs.cend() || it->enumeration.isEmpty())
            return value;
        bool ok = false;
        const int i = value.toInt(&ok);
        return ok && i >= 0 && i < it->enumeration.size() ? it->enumeration[i] : value;
    }

    void Attribute_Default()
    {
        const QString name =
            Expect(Tok::String, QStringLiteral("the attribute name in quotes")).text;
        const QString value = Value();
        Expect_Punct(';');
        m_defs[name].default_value = value;
    }

    void Attribute()
    {
        const QString name =
            Expect(Tok::String, QStringLiteral("the attribute name in quotes")).text;
        std::optional<quint32> message;
        if (Peek().kind == Tok::Ident) {
            const QString object = Take().text;
            if (object == QLatin1String("BO_")) {
                message = Message_Id();
            } else if (object == QLatin1String("SG_")) {
                Message_Id();
                Name(QStringLiteral("the signal name"));
            } else if (object == QLatin1String("BU_") || object == QLatin1String("EV_")) {
                Name(QStringLiteral("a name"));
            } else {
                Fail(m_t[m_i - 1], QStringLiteral("BU_, BO_, SG_ or EV_"));
            }
        }
        const QString value = Value();
        Expect_Punct(';');
        if (message)
            if (Dbc_Message* m = Message_Of(*message))
                m->attributes.insert(name, Resolved(name, value));
    }

    void Values()
    {
        // VAL_ <message> <signal> or VAL_ <environment variable>, then pairs.
        Dbc_Signal* s = nullptr;
        if (Peek().kind == Tok::Number) {
            const quint32 id = Message_Id();
            s = Signal_Of(id, Name(QStringLiteral("the signal name")));
        } else {
            Name(QStringLiteral("a message identifier or a variable name"));
        }
        while (Peek().kind == Tok::Number) {
            const qint64 v = qint64(Real(QStringLiteral("a value")));
            const QString text =
                Expect(Tok::String, QStringLiteral("the value's description in quotes")).text;
            if (s)
                s->values.insert(v, text);
        }
        Expect_Punct(';');
    }

    void Transmitters()
    {
        const quint32 id = Message_Id();
        Expect_Punct(':');
        QStringList names;
        while (Peek().kind == Tok::Ident) {
            names << Take().text;
            if (Is_Punct(Peek(), ','))
                Take();
        }
        Expect_Punct(';');
        if (Dbc_Message* m = Message_Of(id))
            for (const QString& n : names)
                if (n != m->sender && !m->transmitters.contains(n))
                    m->transmitters << n;
    }

    void Apply_Defaults()
    {
        for (auto it = m_defs.cbegin(); it != m_defs.cend(); ++it) {
            if (it->object != QLatin1String("BO_") || it->default_value.isNull())
                continue;
            const QString value = it->enumeration.contains(it->default_value)
                                      ? it->default_value
                                      : Resolved(it.key(), it->default_value);
            for (Dbc_Message& m : m_out.messages)
                if (!m.attributes.contains(it.key()))
                    m.attributes.insert(it.key(), value);
        }
    }

    QList<Token> m_t;
    qsizetype m_i = 0;
    QString m_file;
    Dbc_File m_out;
    QHash<quint32, int> m_index;
    QMap<QString, Attribute_Def> m_defs;
};

constexpr quint32 Extended_Flag = 0x80000000u;
// The identifier tools give the message that gathers signals of no message.
constexpr quint32 Independent_Signals_Id = 0xC0000000u;

QString Hex(quint32 v, int digits)
{
    return QStringLiteral("0x") + QString::number(v, 16).toUpper().rightJustified(digits, u'0');
}

} // namespace

Dbc_File Parse_Dbc(const QByteArray& bytes, const QString& fileName)
{
    const QString text = Decode_Text_File(bytes);
    return Parser(Lexer(text, fileName).Tokens(), fileName).Parse();
}

Dbc_File Read_Dbc_File(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw App_Error(QStringLiteral("Cannot read the file %1: %2")
                            .arg(QDir::toNativeSeparators(path), f.errorString()));
    return Parse_Dbc(f.readAll(), path);
}

J1939_Id Split_J1939_Id(quint32 dbcId, const QString& frameFormat)
{
    J1939_Id j;
    j.can_id = dbcId & ~Extended_Flag;
    j.extended = (dbcId & Extended_Flag) != 0 || j.can_id > 0x7FF ||
                 frameFormat.contains(QLatin1String("Extended"), Qt::CaseInsensitive) ||
                 frameFormat.contains(QLatin1String("J1939"), Qt::CaseInsensitive);
    if (!j.extended)
        return j;
    const quint32 id = j.can_id & 0x1FFFFFFFu;
    j.priority = int((id >> 26) & 7);
    j.extended_data_page = ((id >> 25) & 1) != 0;
    j.data_page = int((id >> 24) & 1);
    j.pdu_format = int((id >> 16) & 0xFF);
    j.pdu_specific = int((id >> 8) & 0xFF);
    j.source_address = int(id & 0xFF);
    j.pgn = (quint32(j.pdu_format) << 8) | quint32(j.pdu_specific);
    return j;
}

Dbc_Mapping Map_Dbc_Messages(const Dbc_File& file, const Dbc_Choice& choice)
{
    for (const QString& n : choice.names) {
        const bool found = std::any_of(file.messages.cbegin(), file.messages.cend(),
                                       [&](const Dbc_Message& m) { return m.name == n; });
        if (!found)
            throw App_Error(QStringLiteral("no message named %1 in the file").arg(n));
    }
    // The frame a row stands for: data page, PGN, source address.
    using Key = std::tuple<int, int, int>;
    const int first = choice.receive ? 0 : 1; // the Data Page cell
    QMap<Key, int> rowOf;
    for (qsizetype r = 0; r < choice.existing.size(); ++r) {
        const QStringList& c = choice.existing[r];
        const Key k{Text_To_Int(c.value(first), -1), Text_To_Int(c.value(first + 1), -1),
                    Text_To_Int(c.value(first + 2), -1)};
        if (!rowOf.contains(k))
            rowOf.insert(k, int(r) + 1);
    }

    Dbc_Mapping out;
    bool overflow = false;
    int wantRows = 0, wantBytes = 0;
    const Csv_Layout layout = choice.receive ? Receive_Csv_Layout() : Send_Csv_Layout();
    for (const Dbc_Message& m : file.messages) {
        if (m.id == Independent_Signals_Id ||
            m.name == QLatin1String("VECTOR__INDEPENDENT_SIG_MSG"))
            continue;
        if (!choice.names.isEmpty() && !choice.names.contains(m.name))
            continue;
        Dbc_Row row;
        row.message = m.name;
        row.id = m.id;
        const J1939_Id j = Split_J1939_Id(m.id, m.attributes.value(QStringLiteral("VFrameFormat")));
        const int sa = choice.sa.value_or(j.source_address);
        if ((m.id & Extended_Flag) && (m.id & 0x60000000u)) {
            row.skip = Dbc_Skip::Not_Can;
            row.skipped = QStringLiteral("not a CAN identifier: ") + Hex(m.id, 8);
        } else if (!j.extended) {
            row.skip = Dbc_Skip::Standard_Frame;
            row.skipped = QStringLiteral("standard 11-bit frame ") + Hex(j.can_id, 3) +
                          QStringLiteral("; the tables hold J1939 frames only");
        } else if (j.extended_data_page) {
            row.skip = Dbc_Skip::Extended_Data_Page;
            row.skipped = QStringLiteral("the extended data page bit is set (identifier ") +
                          Hex(j.can_id, 8) + QStringLiteral(")");
        } else if (m.size > Dbc_Max_Frame_Bytes) {
            row.skip = Dbc_Skip::Too_Large;
            row.skipped = QStringLiteral("larger than the table allows: %1 bytes, at most %2")
                              .arg(m.size)
                              .arg(Dbc_Max_Frame_Bytes);
        } else if (choice.receive && m.size == 0) {
            row.skip = Dbc_Skip::No_Data;
            row.skipped = QStringLiteral("holds no data bytes");
        } else if (const auto it = rowOf.constFind(Key{j.data_page, int(j.pgn), sa});
                   it != rowOf.cend()) {
            row.skip = Dbc_Skip::Duplicate;
            row.duplicate_of = *it;
            row.skipped =
                QStringLiteral("same data page, PGN and source address as row %1").arg(*it);
        } else if (out.rows_taken + 1 > choice.rows_left ||
                   out.bytes_taken + m.size > choice.bytes_left) {
            overflow = true;
            ++wantRows;
            wantBytes += m.size;
            row.skip = Dbc_Skip::No_Room;
            row.skipped = QStringLiteral("no room left in the table");
        }
        if (row.skipped.isEmpty()) {
            QStringList& c = row.cells;
            c = layout.defaults;
            const QString pgn = Hex(j.pgn, 4);
            QString name = m.attributes.value(QStringLiteral("SystemMessageLongSymbol"));
            if (name.isEmpty())
                name = m.name;
            if (choice.receive) {
                c[0] = QString::number(j.data_page);
                c[1] = pgn;
                c[2] = QString::number(sa);
                c[4] = QStringLiteral("0");
                c[5] = QString::number(m.size);
            } else {
                c[0] = QString::number(j.priority);
                c[1] = QString::number(j.data_page);
                c[2] = pgn;
                c[3] = QString::number(sa);
                c[4] = QString::number(m.size);
            }
            c[9] = name;
            if (!choice.sa && (sa == 0xFE || sa == 0xFF))
                row.notes << QStringLiteral("source address %1 is the file's placeholder (%2); "
                                            "choose the one to use")
                                 .arg(sa)
                                 .arg(sa == 0xFE ? QStringLiteral("null address")
                                                 : QStringLiteral("global address"));
            ++out.rows_taken;
            out.bytes_taken += m.size;
            rowOf.insert(Key{j.data_page, int(j.pgn), sa},
                         int(choice.existing.size()) + out.rows_taken);
        }
        out.rows << row;
    }
    if (overflow && !choice.names.isEmpty()) {
        QString text = QStringLiteral("the chosen messages need %1 rows and %2 bytes; the table "
                                      "has %3 rows left")
                           .arg(out.rows_taken + wantRows)
                           .arg(out.bytes_taken + wantBytes)
                           .arg(choice.rows_left);
        if (choice.bytes_left < Dbc_No_Budget)
            text += QStringLiteral(" and %1 bytes of its budget").arg(choice.bytes_left);
        throw App_Error(text);
    }
    return out;
}
