// Compares a full compilation with the bare loading of the same three documents.
// Usage: bench_compile [ITERATIONS]

#include "app/UComon.h"
#include "compiler/USaveBincc.h"
#include "configurations/ConfigFiles.h"
#include "configurations/XmlFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <limits>

namespace {

void Write_Full_Configuration()
{
    Write_ParGen(Shared.File_ParGen, ParGen_Defaults_Missing_File());
    QList<Receive_Frame_Row> receive;
    QList<Send_Frame_Row> send;
    for (int i = 0; i < 56; ++i) {
        receive.append({"0", QString::number(0xFE00 + i), QString::number(i), "N", "0", "8",
                        i % 2 ? "Y" : "N", i % 3 ? "N" : "Y", "1000",
                        QStringLiteral("Receive frame %1").arg(i + 1)});
        send.append({"6", "0", QString::number(0xFF00 + i), "128", "8", "N", "Y", "Y", "100",
                     QStringLiteral("Transmit frame %1").arg(i + 1)});
    }
    Write_Receive_Frames(Shared.File_Receive_Frame, receive);
    Write_Send_Frames(Shared.File_Send_Frame, send);
}

template <typename F> qint64 Time_Ns(int iterations, F f)
{
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < iterations; ++i)
        f();
    return t.nsecsElapsed();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int iterations = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;
    QTemporaryDir dir;
    Shared.Conf_Dir = dir.path();
    Set_Files();
    Write_Full_Configuration();

    const auto compile = [] { Compile_Bin(); };
    const auto load = [] {
        const QDomDocument a = Load_Xml_File(Shared.File_ParGen);
        const QDomDocument b = Load_Xml_File(Shared.File_Receive_Frame);
        const QDomDocument c = Load_Xml_File(Shared.File_Send_Frame);
    };
    Time_Ns(iterations / 10 + 1, compile);
    Time_Ns(iterations / 10 + 1, load);

    // Alternating rounds; the fastest round of each kind is the least disturbed one.
    constexpr int Rounds = 5;
    const int perRound = std::max(1, iterations / Rounds);
    qint64 compileNs = std::numeric_limits<qint64>::max();
    qint64 loadNs = compileNs;
    for (int r = 0; r < Rounds; ++r) {
        compileNs = std::min(compileNs, Time_Ns(perRound, compile));
        loadNs = std::min(loadNs, Time_Ns(perRound, load));
    }

    QTextStream out(stdout);
#ifdef NDEBUG
    out << "optimised build; ";
#else
    out << "debug build (figures for an optimised build differ); ";
#endif
    out << "56 receive and 56 transmit rows, " << Rounds << " rounds of " << perRound
        << " iterations, fastest round of each\n";
    out << "compilation:        " << compileNs / perRound / 1000.0 << " us each\n";
    out << "loading documents:  " << loadNs / perRound / 1000.0 << " us each\n";
    out << "ratio:              " << double(compileNs) / double(loadNs)
        << " (target: at most 1.5)\n";
    return 0;
}
