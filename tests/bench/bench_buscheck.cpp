// One million generated frames (a candump log in memory) through the log reader and the bus
// check, against the bare splitting of the same text into lines.
// Usage: bench_buscheck [FRAMES]

#include "buscheck/BusCheck.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <cstring>

namespace {

// 56 rows as a full receive table would hold them, PDU2 PGNs from 0xFE00, senders 0 to 55.
Bus_Check_Setup Setup()
{
    Bus_Check_Setup s;
    s.device_address = 128;
    for (int i = 0; i < 56; ++i) {
        Frame_Record r;
        r.Identifier = quint32(0xFE00 + i) << 8 | quint32(i);
        r.Data_Offset = quint16(8 * i);
        r.Byte_Count = 8;
        r.Transport = i == 0 ? 1 : 0;
        s.rows.push_back(r);
    }
    s.data_size = 8 * 56;
    return s;
}

// Mostly rows' frames, one in eight that no row takes, and a BAM transfer now and then.
QByteArray Log(int frames)
{
    QByteArray text;
    text.reserve(qsizetype(frames) * 52);
    char line[96];
    qint64 us = 1436509052000000;
    for (int i = 0; i < frames; ++i, us += 250) {
        quint32 id;
        if (i % 97 == 0)
            id = 0x1CECFF00; // a BAM announcement (size 9 and 2 packets)
        else if (i % 97 <= 2)
            id = 0x1CEBFF00;
        else if (i % 8 == 0)
            id = 0x18FF0000u | quint32(i % 200);
        else
            id = 0x18000000u | quint32(0xFE00 + i % 56) << 8 | quint32(i % 56);
        const char* data = i % 97 == 0   ? "200900020000FE00"
                           : i % 97 <= 2 ? (i % 97 == 1 ? "01A1A2A3A4A5A6A7" : "02B1B2FFFFFFFFFF")
                                         : "0102030405060708";
        const int n = std::snprintf(line, sizeof line, "(%lld.%06lld) can0 %08X#%s\n", us / 1000000,
                                    us % 1000000, id, data);
        text.append(line, n);
    }
    return text;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int frames = argc > 1 ? QByteArray(argv[1]).toInt() : 1000000;
    QTextStream out(stdout);
    const QByteArray text = Log(frames);

    QElapsedTimer t;
    // Baseline: find every line and look at its first byte, as any reader of the text must.
    t.start();
    qint64 lines = 0, sum = 0;
    for (const char *p = text.constData(), *end = p + text.size(); p < end;) {
        const char* nl = static_cast<const char*>(memchr(p, '\n', size_t(end - p)));
        sum += *p;
        ++lines;
        p = nl ? nl + 1 : end;
    }
    const qint64 baseNs = t.nsecsElapsed();

    t.restart();
    Bus_Check check(Setup());
    For_Each_Log_Frame(text, [&](const Can_Frame& f) { check.Feed(f); });
    const qint64 checkNs = t.nsecsElapsed();

    qint64 seen = 0;
    for (const Row_Result& r : check.Rows())
        seen += r.stats.count;
    out << "frames: " << check.Frames() << " (lines " << lines << ", checksum " << sum % 7
        << "), taken by rows: " << seen << ", kinds no row takes: " << check.Unmatched().size()
        << '\n';
    out << "log reader + bus check: " << checkNs / 1000000.0 << " ms, "
        << qint64(double(check.Frames()) * 1e9 / double(qMax<qint64>(checkNs, 1))) << " frames/s\n";
    out << "line splitting alone:   " << baseNs / 1000000.0 << " ms\n";
    out << "ratio: " << double(checkNs) / double(qMax<qint64>(baseNs, 1)) << '\n';
    return checkNs < 1000000000LL * frames / 1000000 ? 0 : 1;
}
