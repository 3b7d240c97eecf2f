// Starts the configurator in a scratch program folder holding one example configuration and
// saves the main window and two editors as PNG files: screenshots REPOSITORY OUT_DIR.

#include "app/UTessaformeFirmWare.h"
#include "app/Windows.h"
#include "editors/UParGen.h"
#include "editors/UReceive_J1939_Frames.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWidget>

#include <cstdio>

namespace {

const char Settings[] =
    "<Conf_Settings><lastproj><projectname>Line 1</projectname></lastproj><lastipadd>"
    "<ipaddress>192.168.2.205</ipaddress></lastipadd><lastlang><language>English</language>"
    "</lastlang><lastinternet><enable_internet>0</enable_internet><enable_update>0"
    "</enable_update><enable_jump_field_tables>0</enable_jump_field_tables>"
    "<Double_Click_Auto_Size>0</Double_Click_Auto_Size></lastinternet></Conf_Settings>";

// Frames a technician would list for an engine: speed, temperatures, pressures, fuel.
const char Receive_Rows[] =
    "<Receive_Frames>"
    "<row DataPage=\"0\" PGN=\"61444\" SA=\"0\" TransportProtocol=\"N\" StartByte=\"0\" "
    "NumBytes=\"8\" Delete=\"N\" OnRequest=\"N\" OnReq_Time=\"0\" Mnemonic=\"Engine speed\"/>"
    "<row DataPage=\"0\" PGN=\"65262\" SA=\"0\" TransportProtocol=\"N\" StartByte=\"0\" "
    "NumBytes=\"4\" Delete=\"Y\" OnRequest=\"N\" OnReq_Time=\"0\" Mnemonic=\"Coolant temp\"/>"
    "<row DataPage=\"0\" PGN=\"65263\" SA=\"0\" TransportProtocol=\"N\" StartByte=\"2\" "
    "NumBytes=\"2\" Delete=\"Y\" OnRequest=\"N\" OnReq_Time=\"0\" Mnemonic=\"Oil pressure\"/>"
    "<row DataPage=\"0\" PGN=\"65265\" SA=\"0\" TransportProtocol=\"N\" StartByte=\"1\" "
    "NumBytes=\"2\" Delete=\"N\" OnRequest=\"N\" OnReq_Time=\"0\" Mnemonic=\"Vehicle speed\"/>"
    "<row DataPage=\"0\" PGN=\"65257\" SA=\"0\" TransportProtocol=\"N\" StartByte=\"0\" "
    "NumBytes=\"8\" Delete=\"N\" OnRequest=\"Y\" OnReq_Time=\"1000\" Mnemonic=\"Fuel used\"/>"
    "</Receive_Frames>";

bool Copy_Folder(const QString& from, const QString& to)
{
    if (!QDir().mkpath(to))
        return false;
    for (const QString& name : QDir(from).entryList(QDir::Files))
        if (!QFile::copy(from + '/' + name, to + '/' + name))
            return false;
    return true;
}

bool Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool Save(QWidget* w, const QString& path)
{
    QApplication::processEvents();
    const bool ok = w->grab().save(path);
    std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "written:" : "cannot write",
                 qPrintable(QDir::toNativeSeparators(path)));
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (app.arguments().size() != 3) {
        std::fprintf(stderr, "usage: sw38591_screenshots REPOSITORY OUT_DIR\n");
        return 2;
    }
    const QString repo = app.arguments()[1];
    const QString out = app.arguments()[2];
    QTemporaryDir program;
    const QString conf = program.filePath("PROJECTS/Line 1");
    if (!program.isValid() || !QDir().mkpath(out) ||
        !Copy_Folder(repo + "/LANGUAGE", program.filePath("LANGUAGE")) ||
        !Copy_Folder(repo + "/tests/data/compiler/one_row_each", conf) ||
        !Write(conf + "/Receive_Frame.xml", Receive_Rows) ||
        // The converter's own address apart from the engine's 0.
        !Write(
            conf + "/ParGen.xml",
            Read(conf + "/ParGen.xml").replace("<J1939_Device_ID>0<", "<J1939_Device_ID>128<")) ||
        !Write(program.filePath("Tessaform.xml"), Settings)) {
        std::fprintf(stderr, "cannot prepare the program folder\n");
        return 1;
    }

    Create_Windows(program.path());
    QWidget* main = Forms.FTessaformeFirmWare;
    main->show();
    bool ok = Save(main, out + "/main_window.png");
    // show() runs the opening as the modal showing does: the files are read into the editor.
    for (const auto& [window, file] :
         {std::pair<QWidget*, const char*>{Forms.FParGen, "settings_editor.png"},
          {Forms.FReceive_J1939_Frame, "receive_frames_editor.png"}}) {
        window->show();
        ok = Save(window, out + '/' + file) && ok;
        window->hide();
    }
    Destroy_Windows();
    return ok ? 0 : 1;
}
