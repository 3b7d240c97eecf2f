#include "configurations/XmlFile.h"

#include "app/UComon.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <algorithm>
#include <optional>

namespace {

constexpr qsizetype Near_Before = 24;
constexpr qsizetype Near_After = 24;

// The file's text as the parser sees it. A byte that is not valid in the encoding becomes
// U+FFFD here and is remembered, so that the excerpt can show it as it is in the file.
struct Decoded_Xml {
    QString text;
    QList<QPair<qsizetype, uchar>> badBytes; // (position in text, byte)
};

// Length of the valid UTF-8 sequence at `i`, 0 when the byte there does not start one.
int Utf8_Sequence(const QByteArray& b, qsizetype i)
{
    const auto at = [&](qsizetype k) { return k < b.size() ? uchar(b[k]) : uchar(0); };
    const auto cont = [&](qsizetype k, uchar lo = 0x80, uchar hi = 0xBF) {
        return at(k) >= lo && at(k) <= hi;
    };
    const uchar c = at(i);
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF)
        return cont(i + 1) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        const uchar lo = c == 0xE0 ? 0xA0 : 0x80;
        const uchar hi = c == 0xED ? 0x9F : 0xBF;
        return cont(i + 1, lo, hi) && cont(i + 2) ? 3 : 0;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        const uchar lo = c == 0xF0 ? 0x90 : 0x80;
        const uchar hi = c == 0xF4 ? 0x8F : 0xBF;
        return cont(i + 1, lo, hi) && cont(i + 2) && cont(i + 3) ? 4 : 0;
    }
    return 0;
}

Decoded_Xml Decode_Utf8(const QByteArray& bytes, qsizetype from)
{
    Decoded_Xml d;
    for (qsizetype i = from; i < bytes.size();) {
        const int n = Utf8_Sequence(bytes, i);
        if (n == 0) {
            d.badBytes.append({d.text.size(), uchar(bytes[i])});
            d.text.append(QChar::ReplacementCharacter);
            ++i;
            continue;
        }
        d.text.append(QString::fromUtf8(bytes.constData() + i, n));
        i += n;
    }
    return d;
}

// The encoding as an XML parser chooses it: byte-order mark, else the byte pattern of "<",
// else the declaration, else UTF-8.
Decoded_Xml Decode_Xml(const QByteArray& bytes)
{
    const auto starts = [&](const char* p, int n) { return bytes.startsWith(QByteArray(p, n)); };
    struct Choice {
        const char* pattern;
        int length;
        QStringConverter::Encoding encoding;
        int bom;
    };
    static const Choice choices[] = {
        {"\xEF\xBB\xBF", 3, QStringConverter::Utf8, 3},
        {"\xFF\xFE\x00\x00", 4, QStringConverter::Utf32LE, 4},
        {"\x00\x00\xFE\xFF", 4, QStringConverter::Utf32BE, 4},
        {"\xFF\xFE", 2, QStringConverter::Utf16LE, 2},
        {"\xFE\xFF", 2, QStringConverter::Utf16BE, 2},
        {"<\x00\x00\x00", 4, QStringConverter::Utf32LE, 0},
        {"\x00\x00\x00<", 4, QStringConverter::Utf32BE, 0},
        {"<\x00", 2, QStringConverter::Utf16LE, 0},
        {"\x00<", 2, QStringConverter::Utf16BE, 0},
    };
    for (const Choice& c : choices) {
        if (!starts(c.pattern, c.length))
            continue;
        if (c.encoding == QStringConverter::Utf8)
            return Decode_Utf8(bytes, c.bom);
        QStringDecoder decoder(c.encoding, QStringConverter::Flag::Stateless);
        return {QString(decoder.decode(QByteArrayView(bytes).sliced(c.bom))), {}};
    }
    static const QRegularExpression declared(
        QStringLiteral("^<\\?xml[^>]*?encoding\\s*=\\s*[\"']([A-Za-z0-9._-]+)[\"']"));
    const QRegularExpressionMatch m = declared.match(QString::fromLatin1(bytes.left(200)));
    if (m.hasMatch()) {
        QStringDecoder decoder(m.captured(1).toLatin1().constData(),
                               QStringConverter::Flag::Stateless);
        if (decoder.isValid() && m.captured(1).compare(QLatin1String("UTF-8"), Qt::CaseInsensitive))
            return {QString(decoder.decode(bytes)), {}};
    }
    return Decode_Utf8(bytes, 0);
}

QString Hex_Escape(uint code)
{
    return QLatin1String("\\x") + QString::number(code, 16).toUpper().rightJustified(2, u'0');
}

// One line of text for a message: line breaks, tabs and other control characters written as
// escapes, so that the excerpt stays on one line and never carries a NUL.
QString Escaped(const QString& text, const Decoded_Xml* source = nullptr, qsizetype offset = 0)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (source && c == QChar::ReplacementCharacter) {
            const auto& bad = source->badBytes;
            const auto it = std::lower_bound(
                bad.begin(), bad.end(), offset + i,
                [](const QPair<qsizetype, uchar>& b, qsizetype at) { return b.first < at; });
            if (it != bad.end() && it->first == offset + i) {
                out += Hex_Escape(it->second);
                continue;
            }
        }
        if (c == u'\n')
            out += QLatin1String("\\n");
        else if (c == u'\r')
            out += QLatin1String("\\r");
        else if (c == u'\t')
            out += QLatin1String("\\t");
        else if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
            out += Hex_Escape(c);
        else
            out += QChar(c);
    }
    return out;
}

// Where the parser stopped, as a position in the decoded text: the first byte the encoding
// does not allow, or the place where the text itself stops being well-formed.
qsizetype Error_Position(const Decoded_Xml& d)
{
    std::optional<qsizetype> pos;
    QXmlStreamReader reader(d.text);
    while (!reader.atEnd())
        reader.readNext();
    if (reader.hasError())
        pos = reader.characterOffset();
    if (!d.badBytes.isEmpty() && (!pos || d.badBytes.first().first < *pos))
        pos = d.badBytes.first().first;
    return qBound<qsizetype>(0, pos.value_or(d.text.size()), d.text.size());
}

[[noreturn]] void Throw_Parse_Error(const QByteArray& bytes, const QString& name,
                                    const QString& reason)
{
    const Decoded_Xml d = Decode_Xml(bytes);
    const QString& t = d.text;
    const qsizetype pos = Error_Position(d);

    // Line and column as an editor counts them: characters, not bytes or UTF-16 units.
    int line = 1;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < pos; ++i) {
        if (t.at(i) == u'\n' || (t.at(i) == u'\r' && (i + 1 >= t.size() || t.at(i + 1) != u'\n'))) {
            ++line;
            lineStart = i + 1;
        }
    }
    const QStringView lineText = QStringView(t).sliced(lineStart, pos - lineStart);
    const qsizetype column = lineText.toUcs4().size() + 1;

    qsizetype from = qMax<qsizetype>(0, pos - Near_Before);
    qsizetype to = qMin<qsizetype>(t.size(), pos + Near_After);
    if (from > 0 && t.at(from).isLowSurrogate())
        --from;
    if (to < t.size() && t.at(to).isLowSurrogate())
        ++to;
    const QString near = Escaped(t.mid(from, to - from), &d, from);

    QString text = QStringLiteral("Error in file %1: %2 (line %3, column %4)")
                       .arg(QDir::toNativeSeparators(name), Escaped(reason))
                       .arg(line)
                       .arg(column);
    if (!near.isEmpty())
        text += QStringLiteral(" near \"%1\"").arg(near);
    throw App_Error(text);
}

// Elements whose whole content is blank text, in document order of their start tags. The DOM
// reader drops such text nodes, yet a value of blanks is a value as it was stored.
QList<QPair<qsizetype, QString>> Blank_Only_Elements(const QByteArray& bytes)
{
    QList<QPair<qsizetype, QString>> found;
    struct Open {
        qsizetype index;
        QString blanks;
        bool other = false; // anything but blank text inside
    };
    QList<Open> stack;
    qsizetype count = 0;
    QXmlStreamReader reader(bytes);
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (!stack.isEmpty())
                stack.last().other = true;
            stack.append({count++, QString()});
            break;
        case QXmlStreamReader::EndElement:
            if (!stack.isEmpty()) {
                const Open e = stack.takeLast();
                if (!e.other && !e.blanks.isEmpty())
                    found.append({e.index, e.blanks});
            }
            break;
        case QXmlStreamReader::Characters:
            if (!stack.isEmpty()) {
                if (reader.isWhitespace() && !reader.isCDATA())
                    stack.last().blanks += reader.text();
                else
                    stack.last().other = true;
            }
            break;
        case QXmlStreamReader::Comment:
        case QXmlStreamReader::ProcessingInstruction:
            if (!stack.isEmpty())
                stack.last().other = true;
            break;
        case QXmlStreamReader::DTD:
            // Declared entities may hold elements of their own that the DOM counts and this
            // reader does not: no safe way to match the two, so such a file is left as read.
            if (!reader.entityDeclarations().isEmpty())
                return {};
            break;
        case QXmlStreamReader::EntityReference:
            return {};
        default:
            break;
        }
    }
    return found;
}

void Restore_Blank_Texts(QDomDocument& doc, const QByteArray& bytes)
{
    const QList<QPair<qsizetype, QString>> blanks = Blank_Only_Elements(bytes);
    if (blanks.isEmpty())
        return;
    // Walk the elements in the same order the stream reader met their start tags.
    qsizetype index = 0, next = 0;
    QDomNode n = doc.firstChild();
    while (!n.isNull() && next < blanks.size()) {
        if (n.isElement()) {
            if (index == blanks.at(next).first) {
                if (n.firstChild().isNull())
                    n.appendChild(doc.createTextNode(blanks.at(next).second));
                ++next;
            }
            ++index;
        }
        if (!n.firstChild().isNull() && n.isElement()) {
            n = n.firstChild();
            continue;
        }
        while (!n.isNull() && n.nextSibling().isNull())
            n = n.parentNode();
        if (!n.isNull())
            n = n.nextSibling();
    }
}

} // namespace

QDomDocument Parse_Xml_Bytes(const QByteArray& bytes, const QString& name)
{
    QDomDocument doc;
    QString reason;
    if (!doc.setContent(bytes, &reason))
        Throw_Parse_Error(bytes, name, reason);
    Restore_Blank_Texts(doc, bytes);
    return doc;
}

QDomDocument Load_Xml_File(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw App_Error(QStringLiteral("Cannot read the file %1: %2")
                            .arg(QDir::toNativeSeparators(path), f.errorString()));
    return Parse_Xml_Bytes(f.readAll(), path);
}

QString Child_Text(const QDomNode& parent, const QString& name, bool* found)
{
    const QDomElement e = parent.firstChildElement(name);
    if (found)
        *found = !e.isNull();
    return e.isNull() ? QString() : e.text();
}

QString One_Line_Text(const QString& text)
{
    return Escaped(text);
}
