#pragma once

#include "app/UComon.h"

#include <QString>

// The maker's version service. Tests point it at a server of their own on 127.0.0.1.
extern QString Version_Service_Url;
inline const QString Default_Version_Service_Url =
    Maker_Site + QStringLiteral("/home/download/GetversionSW.asp?nomesw=") + SW_Code_Text;

// The download page that the new-version links lead to.
inline const QString Download_Page_Url =
    Maker_Site + QStringLiteral("/Home/download/download.asp#HD38591");

// A request that has not ended by then counts as failed: a half-open connection must not
// freeze the windows for good.
constexpr int Version_Request_Limit_Ms = 10000;

// One HTTP/1.0 GET of `url`; the response body, or an empty text when the request fails in
// any way (no connection, an error status, no complete answer within `limitMs`). Blocks the
// caller; user input to the windows waits meanwhile.
QString Http_Get_Body(const QString& url, int limitMs = Version_Request_Limit_Ms);

// The body of a complete HTTP answer with a success status, as Http_Get_Body returns it;
// an empty text for anything else.
QString Http_Answer_Body(const QByteArray& received);

// The comparable number of a version text ("2.000" 2000, "VER. 2.010" 2010), or -1.
int Conv_Version(const QString& Ver_str);

// Whether a version service answer names a version newer than the program's own.
bool Is_Newer_Version(const QString& answer);

// Asks the version service whether a newer version exists; a failed request says no.
bool Check_Version();

// Caption of a link label that leads to the download page.
QString Download_Link_Html(const QString& text);
