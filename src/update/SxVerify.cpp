#include "update/SxVerify.h"

#include "app/UComon.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <vector>

namespace {

QString Hex_Address(quint64 address)
{
    return QStringLiteral("0x") +
           QString::number(address, 16).toUpper().rightJustified(6, QLatin1Char('0'));
}

// Address bytes by record type; 0 for the undefined type S4.
int Address_Bytes(int type)
{
    static const int bytes[10] = {2, 2, 3, 4, 0, 2, 3, 4, 3, 2};
    return bytes[type];
}

struct Span {
    quint64 first;
    quint64 end; // one past the last address
    int line;
};

} // namespace

QString Verify_Composed(const QString& path, const Bank_Images& images)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw App_Error(QStringLiteral("Cannot read the file %1: %2")
                            .arg(QDir::toNativeSeparators(path), file.errorString()));
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw App_Error(QStringLiteral("Cannot read the file %1: %2")
                            .arg(QDir::toNativeSeparators(path), file.errorString()));

    struct Window {
        int index = 0;
        const Bank_Window* bank = nullptr;
        QByteArray content;
        QByteArray covered;
    };
    std::vector<Window> windows;
    for (int b = 0; b < Bank_Count; ++b) {
        if (images[size_t(b)].isEmpty())
            continue;
        if (images[size_t(b)].size() < Bank_Size)
            return QStringLiteral("the image %1 is shorter than its window").arg(Bank_Of(b).image);
        windows.push_back(
            {b, &Bank_Of(b), QByteArray(Bank_Size, '\0'), QByteArray(Bank_Size, '\0')});
    }

    std::vector<Span> spans;
    int lineNo = 0;
    for (qsizetype from = 0; from < text.size();) {
        qsizetype to = text.indexOf('\n', from);
        if (to < 0)
            to = text.size();
        QByteArray line = text.mid(from, to - from);
        from = to + 1;
        ++lineNo;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() < 2 || (line[0] != 'S' && line[0] != 's') || line[1] < '0' || line[1] > '9')
            continue;

        const auto bad = [lineNo](const QString& what) {
            return QStringLiteral("line %1: %2").arg(lineNo).arg(what);
        };
        const int type = line[1] - '0';
        const int addressBytes = Address_Bytes(type);
        if (addressBytes == 0)
            return bad(QStringLiteral("the record type S4 is not defined"));
        const QByteArray digits = line.mid(2);
        const bool hex = std::all_of(digits.begin(), digits.end(), [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
        });
        if (!hex || digits.size() % 2 != 0 || digits.size() < 2)
            return bad(QStringLiteral("not a valid S-record"));
        const QByteArray bytes = QByteArray::fromHex(digits);
        const int count = quint8(bytes[0]);
        if (count != bytes.size() - 1 || count < addressBytes + 1)
            return bad(QStringLiteral("the byte count does not match the record"));
        unsigned sum = 0;
        for (qsizetype i = 0; i + 1 < bytes.size(); ++i)
            sum += quint8(bytes[i]);
        if (quint8(~sum) != quint8(bytes.back()))
            return bad(QStringLiteral("wrong checksum"));
        if (type < 1 || type > 3)
            continue;

        quint64 address = 0;
        for (int i = 1; i <= addressBytes; ++i)
            address = address << 8 | quint8(bytes[i]);
        const qsizetype dataAt = 1 + addressBytes;
        const qsizetype length = bytes.size() - 1 - dataAt;
        if (length == 0)
            continue;
        spans.push_back({address, address + quint64(length), lineNo});
        for (Window& w : windows) {
            const quint64 first = qMax<quint64>(address, w.bank->first);
            const quint64 end = qMin<quint64>(address + quint64(length), quint64(w.bank->last) + 1);
            for (quint64 a = first; a < end; ++a) {
                const qsizetype at = qsizetype(a - w.bank->first);
                w.content[at] = bytes[dataAt + qsizetype(a - address)];
                w.covered[at] = 1;
            }
        }
    }

    std::stable_sort(spans.begin(), spans.end(),
                     [](const Span& a, const Span& b) { return a.first < b.first; });
    const Span* reach = nullptr; // the span reaching furthest so far
    for (const Span& s : spans) {
        if (reach && s.first < reach->end)
            return QStringLiteral("address %1 is given twice (lines %2 and %3)")
                .arg(Hex_Address(s.first))
                .arg(qMin(reach->line, s.line))
                .arg(qMax(reach->line, s.line));
        if (!reach || s.end > reach->end)
            reach = &s;
    }

    for (const Window& w : windows) {
        const qsizetype hole = w.covered.indexOf('\0');
        if (hole >= 0)
            return QStringLiteral("address %1 of the %2 window is missing")
                .arg(Hex_Address(w.bank->first + quint64(hole)), w.bank->image);
        const QByteArray& image = images[size_t(w.index)];
        for (qsizetype i = 0; i < Bank_Size; ++i) {
            if (w.content[i] != image[i])
                return QStringLiteral("the %1 window does not hold the image of this update "
                                      "(first difference at address %2)")
                    .arg(w.bank->image, Hex_Address(w.bank->first + quint64(i)));
        }
    }
    return {};
}
