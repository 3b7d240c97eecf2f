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

// Merges CONF_DIR/bin/bank1.bin and bank2.bin into FILE as the firmware window does, without
// starting the flash tool. 0: written; 1: stopped, the previous result untouched; 2: usage.
int Cmd_Compose(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QString confDir, firmware, output;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if ((a == QLatin1String("--firmware") || a == QLatin1String("--out")) &&
            i + 1 < args.size()) {
            (a == QLatin1String("--firmware") ? firmware : output) = args.at(++i);
        } else if (!a.startsWith(QLatin1String("--")) && confDir.isEmpty()) {
            confDir = a;
        } else {
            err << "sw38591-cli compose: unexpected argument '" << a << "'\n";
            return 2;
        }
    }
    if (confDir.isEmpty() || firmware.isEmpty()) {
        err << "sw38591-cli compose: "
            << (confDir.isEmpty() ? "the configuration folder" : "--firmware FILE")
            << " is missing\n";
        return 2;
    }
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
        err << "sw38591-cli compose: the firmware file " << QDir::toNativeSeparators(firmware)
            << " would be overwritten; use another output file or firmware copy\n";
        return 2;
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
