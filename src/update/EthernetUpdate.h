#pragma once

#include "app/Launcher.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

class Icmp_Echo_Client;

// Splits a dotted IPv4 address text into its four number texts, trimmed as cut; the fourth
// keeps any further dots. True when all four are numbers from 0 to 255. The parts are handed
// back also on false; use them only on true.
bool Split_IP_Address(const QString& text, std::array<QString, 4>& parts);

// The four box texts joined by "." exactly as typed.
QString Join_IP_Address(const std::array<QString, 4>& parts);

// The address the four numbers of `text` name, read as Split_IP_Address reads them (decimal:
// a leading zero is no octal mark), as a plain dotted decimal text; empty when Split_IP_Address
// refuses the text.
QString Canonical_IP_Address(const QString& text);

// The reachability check of the update window.
inline constexpr int Ping_Reply_Wait_Ms = 400;
inline constexpr int Ping_Check_Limit_Ms = 5000;
inline constexpr int Ping_Pause_Ms = 10;

// Echo requests to the address `target` names (Canonical_IP_Address; the text as typed is the
// data; one that names no address fails at once) until the second reply with data, or
// for up to 5 s. Between looks at the outcome it pauses 10 ms and handles pending events.
// `ping_res`: 0 no reply event yet, 1 the last reply brought data, 2 it brought none; it is
// not reset between attempts. A failing client ends the check at once and leaves `ping_res`
// as it was. Returns true when `ping_res` is 1 at the end.
bool Send_Ping(Icmp_Echo_Client& client, const QString& target, int& ping_res);

// What the Ethernet update tool is asked to do.
struct Update_Request {
    QString ipAddress;    // as typed, joined by "."
    int updateOption = 0; // 0 firmware and configuration, 1 firmware, 2 configuration
    bool readBack = false;
};

inline const QString Parameter_File_Name = QStringLiteral("Zedazede_Zeruvi.xml");
inline const QString Update_Tool_Name = QStringLiteral("Zedazede_Zeruvi.exe");
inline constexpr int Tool_Wait_Limit_Ms = 150000;

// The parameter file's bytes: the firmware from `dirMaster`, the configuration image from
// `confDir`; paths with the platform's separators; no indentation, no line breaks.
QByteArray Parameter_Xml(const Update_Request& r, const QString& dirMaster, const QString& confDir);

// The files the tool is to write for `r`, in the order of its operations.
QStringList Update_Files(const Update_Request& r, const QString& dirMaster, const QString& confDir);

// Writes Dir_Program/Zedazede_Zeruvi.xml atomically from the shared folders.
// Throws App_Error naming the file when it cannot be written.
void Compile_XML_Parameter(const Update_Request& r);

// Why the files the tool is to write for `r` cannot be handed over, as the message to show:
// the firmware missing, or bank2.bin not the 18432-byte image `image` that this update wrote
// (missing, cut, a wrong checksum, another image). Empty when they can.
QString Update_Files_Problem(const Update_Request& r, const QString& dirMaster,
                             const QString& confDir, const QByteArray& image);

// Starts `NomeSW` with the argument text `Parameter` in the current folder and waits until it
// ends or `limitMs` has passed, calling `whileWaiting` about every 10 ms; a tool still running
// then goes on by itself. Throws App_Error naming the program and the system's reason when it
// cannot be started.
Process_Launcher::Wait_Result Start_Program(const QString& NomeSW, const QString& Parameter,
                                            int limitMs = Tool_Wait_Limit_Ms,
                                            const std::function<void()>& whileWaiting = {});
