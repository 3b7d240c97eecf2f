#include "Commands.h"
#include "app/UComon.h"
#include "configurations/SafeFile.h"
#include "update/SxComposer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

namespace {

QString Absolute(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool Same_File(const QString& a, const QString& b)
{
#ifdef Q_OS_WIN
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}

} // namespace

Cli_Command Compose_Command()
{
    return {QStringLiteral("compose"),
            QStringLiteral("compose CONF_DIR --firmware FILE [--out FILE]"),
            QStringLiteral("merge CONF_DIR/bin/bank1.bin and bank2.bin into the firmware FILE;\n"
                           "the result goes to --out (default CONF_DIR/New_sx38591.sx)"),
            {{QStringLiteral("firmware"), QStringLiteral("the firmware S-record file (needed)"),
              QStringLiteral("FILE")},
             {QStringLiteral("out"), QStringLiteral("the result file"), QStringLiteral("FILE")}},
            {{QStringLiteral("CONF_DIR"), QStringLiteral("the configuration folder")}},
            Cmd_Compose};
}

// Merges CONF_DIR/bin/bank1.bin and bank2.bin into FILE as the firmware window does, without
// starting the flash tool. 0: written; 1: stopped, the previous result untouched; 2: usage.
int Cmd_Compose(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QCommandLineParser p;
    if (const auto rc = Cli_Parse(p, Compose_Command(), args, out, err))
        return *rc;
    QString confDir = p.positionalArguments().first();
    QString firmware = p.value(QStringLiteral("firmware"));
    QString output = p.value(QStringLiteral("out"));
    if (firmware.isEmpty())
        return Cli_Wrong_Usage(Compose_Command(), QStringLiteral("--firmware FILE is missing"),
                               err);
    confDir = Absolute(confDir);
    firmware = Absolute(firmware);
    output = Absolute(
        output.isEmpty() ? Path_Join(confDir, New_Firmware_Prefix + Firmware_File_Name) : output);

    Sx_Composer c;
    const QFileInfo outInfo(output);
    c.NomeDirSxNew = outInfo.path() + QLatin1Char('/');
    c.NomeFileSxNew = outInfo.fileName();
    const QString bin = Path_Join(confDir, QStringLiteral("bin"));
    if (QFileInfo(bin).isDir())
        c.NomeDirBin = bin + QLatin1Char('/');

    // The result replaces its file; the source firmware must survive it.
    if (Same_File(output, firmware)) {
        return Cli_Wrong_Usage(Compose_Command(),
                               QStringLiteral("the firmware file %1 would be overwritten; use "
                                              "another output file or firmware copy")
                                   .arg(QDir::toNativeSeparators(firmware)),
                               err);
    }

    bool said = false;
    c.On_Message = [&](const QString& m) {
        err << m << '\n';
        said = true;
    };
    try {
        // The images as read now are the ones the result must hold, even if a file is
        // replaced while the compose runs.
        if (!c.NomeDirBin.isEmpty()) {
            Recover_File_Group(c.NomeDirBin);
            for (int b = 0; b < Bank_Count; ++b) {
                QFile image(c.NomeDirBin + Bank_Of(b).image);
                if (image.open(QIODevice::ReadOnly))
                    c.Expected_Images[size_t(b)] = image.readAll();
            }
        }
        if (c.Compose(firmware)) {
            out << QDir::toNativeSeparators(c.Result_Path()) << '\n';
            return 0;
        }
        if (!said)
            err << "sw38591-cli compose: nothing written\n";
    } catch (const App_Error& e) {
        err << e.text() << '\n';
    }
    return 1;
}
