#include "buscheck/CanLog.h"

#include "app/UComon.h"
#include "configurations/TextToInt.h"
#include "language/ULanguage.h"

namespace {

// A cursor over one line; every step fails softly so that the caller names the line.
struct Cursor {
    const char* p;
    const char* end;

    bool at_end() const { return p >= end; }
    void skip_blanks()
    {
        while (p < end && (*p == ' ' || *p == '\t'))
            ++p;
    }
    bool eat(char c)
    {
        if (p < end && *p == c) {
            ++p;
            return true;
        }
        return false;
    }
    // A run of characters up to a blank.
    QByteArrayView token()
    {
        const char* s = p;
        while (p < end && *p != ' ' && *p != '\t')
            ++p;
        return QByteArrayView(s, p - s);
    }
};

// Digits of `t` in base 16 or 10; false for an empty text, another character or an overflow.
bool Parse_Unsigned(QByteArrayView t, int base, quint32& v)
{
    if (t.isEmpty() || t.size() > 10)
        return false;
    quint64 n = 0;
    for (char c : t) {
        const int d = base == 16 ? Hex_Value(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
        if (d < 0)
            return false;
        n = n * quint64(base) + quint64(d);
    }
    if (n > 0xFFFFFFFFu)
        return false;
    v = quint32(n);
    return true;
}

// "1436509052.249713" or "0.001234": seconds with up to six decimals, as microseconds.
bool Parse_Seconds(QByteArrayView t, qint64& us)
{
    const qsizetype dot = t.indexOf('.');
    const QByteArrayView whole = dot < 0 ? t : t.first(dot);
    const QByteArrayView frac = dot < 0 ? QByteArrayView() : t.sliced(dot + 1);
    if (whole.isEmpty() || whole.size() > 12 || frac.size() > 9)
        return false;
    qint64 s = 0;
    for (char c : whole) {
        if (c < '0' || c > '9')
            return false;
        s = s * 10 + (c - '0');
    }
    qint64 f = 0;
    int digits = 0;
    for (char c : frac) {
        if (c < '0' || c > '9')
            return false;
        if (digits < 6) {
            f = f * 10 + (c - '0');
            ++digits;
        }
    }
    for (; digits < 6; ++digits)
        f *= 10;
    us = s * 1000000 + f;
    return true;
}

// A candump identifier: three hex digits for a standard frame, eight for an extended one.
bool Parse_Candump_Id(QByteArrayView t, Can_Frame& f)
{
    quint32 id = 0;
    if ((t.size() != 3 && t.size() != 8) || !Parse_Unsigned(t, 16, id))
        return false;
    f.extended = t.size() == 8;
    if (id > (f.extended ? 0x1FFFFFFFu : 0x7FFu))
        return false;
    f.id = id;
    return true;
}

bool Parse_Timestamp(Cursor& c, Can_Frame& f)
{
    // "(1436509052.249713)"
    if (!c.eat('('))
        return false;
    const char* s = c.p;
    while (c.p < c.end && *c.p != ')')
        ++c.p;
    if (!Parse_Seconds(QByteArrayView(s, c.p - s), f.time_us) || !c.eat(')'))
        return false;
    f.timed = true;
    return true;
}

bool Starts_With_Word(QByteArrayView line, const char* word)
{
    Cursor c{line.data(), line.data() + line.size()};
    c.skip_blanks();
    return c.token() == QByteArrayView(word);
}

// The opening both candump forms share: "(seconds.micro)", which the screen form may leave
// out, then the interface name. Leaves the cursor at the identifier.
bool Read_Candump_Opening(Cursor& c, Can_Frame& f, bool timeRequired)
{
    c.skip_blanks();
    if (timeRequired || (c.p < c.end && *c.p == '(')) {
        if (!Parse_Timestamp(c, f))
            return false;
        c.skip_blanks();
    }
    if (c.token().isEmpty())
        return false;
    c.skip_blanks();
    return true;
}

} // namespace

void Can_Log_Reader::Fail() const
{
    throw App_Error(Msg(208) + QString::number(m_line) + Msg(209));
}

bool Can_Log_Reader::Read_Line(QByteArrayView line, Can_Frame& f)
{
    ++m_line;
    if (line.endsWith('\r'))
        line.chop(1);
    Cursor c{line.data(), line.data() + line.size()};
    c.skip_blanks();
    if (c.at_end())
        return false;
    if (m_form == Form::Unknown) {
        const QByteArrayView first = Cursor(c).token();
        if (first.startsWith('(')) {
            // The log form puts identifier and data in one token after the interface.
            Cursor probe = c;
            probe.token();
            probe.skip_blanks();
            probe.token();
            probe.skip_blanks();
            m_form = probe.token().contains('#') ? Form::Candump_Log : Form::Candump_Screen;
        } else if (first == "date" || first == "base" || first.startsWith("//") ||
                   first.contains('.')) {
            m_form = Form::Vector_Asc;
        } else {
            m_form = Form::Candump_Screen;
        }
    }
    f = Can_Frame();
    switch (m_form) {
    case Form::Candump_Log:
        if (!Read_Candump_Log(line, f))
            Fail();
        return true;
    case Form::Candump_Screen:
        if (!Read_Candump_Screen(line, f))
            Fail();
        return true;
    case Form::Vector_Asc:
        return Read_Asc(line, f);
    case Form::Unknown:
        break;
    }
    return false;
}

bool Can_Log_Reader::Read_Candump_Log(QByteArrayView line, Can_Frame& f) const
{
    Cursor c{line.data(), line.data() + line.size()};
    if (!Read_Candump_Opening(c, f, true))
        return false;
    const QByteArrayView frame = c.token();
    c.skip_blanks();
    // Newer candump versions may add one direction letter.
    const QByteArrayView rest = c.token();
    c.skip_blanks();
    if (!c.at_end() || (!rest.isEmpty() && rest != "R" && rest != "T"))
        return false;
    const qsizetype hash = frame.indexOf('#');
    if (hash < 0 || !Parse_Candump_Id(frame.first(hash), f))
        return false;
    QByteArrayView data = frame.sliced(hash + 1);
    if (data.startsWith('R')) {
        // Remote request, optionally with its length digit.
        f.remote = true;
        return data.size() <= 2;
    }
    if (data.size() % 2 != 0 || data.size() > 16)
        return false; // CAN FD ("##") and odd digits alike
    f.size = quint8(data.size() / 2);
    for (int i = 0; i < f.size; ++i) {
        const int hi = Hex_Value(data[2 * i]);
        const int lo = Hex_Value(data[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        f.data[size_t(i)] = quint8(hi * 16 + lo);
    }
    return true;
}

bool Can_Log_Reader::Read_Candump_Screen(QByteArrayView line, Can_Frame& f) const
{
    Cursor c{line.data(), line.data() + line.size()};
    if (!Read_Candump_Opening(c, f, false))
        return false;
    if (!Parse_Candump_Id(c.token(), f))
        return false;
    c.skip_blanks();
    // "[8]"
    const QByteArrayView len = c.token();
    quint32 n = 0;
    if (len.size() < 3 || !len.startsWith('[') || !len.endsWith(']') ||
        !Parse_Unsigned(len.sliced(1, len.size() - 2), 10, n) || n > 8)
        return false;
    c.skip_blanks();
    f.size = quint8(n);
    for (quint32 i = 0; i < n; ++i) {
        const QByteArrayView b = c.token();
        if (i == 0 && b == "remote") {
            f.remote = true;
            f.size = 0;
            return true;
        }
        if (b.size() != 2 || Hex_Value(b[0]) < 0 || Hex_Value(b[1]) < 0)
            return false;
        f.data[i] = quint8(Hex_Value(b[0]) * 16 + Hex_Value(b[1]));
        c.skip_blanks();
    }
    if (n == 0 && Cursor(c).token() == "remote") {
        f.remote = true;
        return true;
    }
    Cursor d = c;
    d.skip_blanks();
    // candump -a prints the bytes once more as text between apostrophes.
    return d.at_end() || *d.p == '\'';
}

bool Can_Log_Reader::Read_Asc(QByteArrayView line, Can_Frame& f)
{
    if (Starts_With_Word(line, "base")) {
        // "base hex  timestamps absolute"
        Cursor c{line.data(), line.data() + line.size()};
        c.skip_blanks();
        c.token();
        c.skip_blanks();
        const QByteArrayView base = c.token();
        if (base != "hex" && base != "dec")
            Fail();
        m_asc_decimal = base == "dec";
        return false;
    }
    Cursor c{line.data(), line.data() + line.size()};
    c.skip_blanks();
    // Header, comment and trigger block lines start with a word; frames and events with a time.
    if (!Parse_Seconds(c.token(), f.time_us))
        return false;
    f.timed = true;
    c.skip_blanks();
    quint32 channel = 0;
    if (!Parse_Unsigned(c.token(), 10, channel))
        return false; // "Start of measurement", "CANFD ..." and other events
    c.skip_blanks();
    QByteArrayView id = c.token();
    const int base = m_asc_decimal ? 10 : 16;
    f.extended = id.endsWith('x');
    if (f.extended)
        id.chop(1);
    // Error frames, statistics and other events of a channel carry a word instead of an id.
    if (!Parse_Unsigned(id, base, f.id)) {
        if (id.isEmpty() || Hex_Value(id[0]) < 0 || id.size() > 9)
            return false;
        Fail();
    }
    if (f.id > (f.extended ? 0x1FFFFFFFu : 0x7FFu))
        Fail();
    c.skip_blanks();
    const QByteArrayView dir = c.token();
    if (dir != "Rx" && dir != "Tx")
        Fail();
    c.skip_blanks();
    const QByteArrayView kind = c.token();
    if (kind == "r") {
        f.remote = true;
        return true;
    }
    if (kind != "d")
        Fail();
    c.skip_blanks();
    quint32 n = 0;
    if (!Parse_Unsigned(c.token(), 16, n) || n > 8)
        Fail();
    f.size = quint8(n);
    for (quint32 i = 0; i < n; ++i) {
        c.skip_blanks();
        quint32 b = 0;
        const QByteArrayView t = c.token();
        if (t.size() > 3 || !Parse_Unsigned(t, base, b) || b > 255)
            Fail();
        f.data[i] = quint8(b);
    }
    // Whatever follows (length, bit count, the id once more) is not needed.
    return true;
}
