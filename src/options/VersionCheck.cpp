#include "options/VersionCheck.h"

#include "app/UComon.h"

#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

QString Version_Service_Url = Default_Version_Service_Url;

namespace {

// A version answer is one short line; anything this large is not one.
constexpr qsizetype Max_Response_Bytes = 64 * 1024;

QByteArray Request_Bytes(const QUrl& url)
{
    QByteArray target =
        url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment);
    if (target.isEmpty())
        target = "/";
    QByteArray host = url.host(QUrl::FullyEncoded).toLatin1();
    if (url.port() != -1 && url.port() != 80)
        host += ':' + QByteArray::number(url.port());
    return "GET " + target + " HTTP/1.0\r\n" + "Host: " + host + "\r\n" +
           "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n" +
           "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n" + "\r\n";
}

struct Response {
    bool headComplete = false;
    int status = 0;
    qint64 contentLength = -1; // -1: the body ends when the server closes
    QByteArray body;
};

// Parses what has arrived so far.
Response Parse_Response(const QByteArray& data)
{
    Response r;
    const qsizetype end = data.indexOf("\r\n\r\n");
    if (end < 0)
        return r;
    const QList<QByteArray> lines = data.left(end).split('\n');
    // Status line: HTTP/1.x NNN reason
    const QList<QByteArray> status = lines.first().trimmed().split(' ');
    if (status.size() < 2 || !status.at(0).startsWith("HTTP/"))
        return r;
    bool ok = false;
    r.status = status.at(1).toInt(&ok);
    if (!ok)
        return r;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == "content-length") {
            const qint64 n = line.mid(colon + 1).trimmed().toLongLong(&ok);
            r.contentLength = ok && n >= 0 ? n : -1;
        }
    }
    r.headComplete = true;
    r.body = data.mid(end + 4);
    return r;
}

} // namespace

QString Http_Get_Body(const QString& url, int limitMs)
{
    const QUrl u(url);
    if (!u.isValid() || u.scheme() != QLatin1String("http") || u.host().isEmpty())
        return {};

    QTcpSocket socket;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    limit.setTimerType(Qt::PreciseTimer);
    QByteArray received;
    bool done = false;
    bool failed = false;

    const auto finish = [&](bool failure) {
        if (done)
            return;
        done = true;
        failed = failure;
        loop.quit();
    };
    const auto take = [&] {
        if (socket.isOpen()) // closed once the server has ended and everything was read
            received += socket.readAll();
        if (received.size() > Max_Response_Bytes) {
            finish(true);
            return;
        }
        const Response r = Parse_Response(received);
        if (r.headComplete && r.contentLength >= 0 && r.body.size() >= r.contentLength)
            finish(false);
    };
    QObject::connect(&socket, &QTcpSocket::connected, &loop,
                     [&] { socket.write(Request_Bytes(u)); });
    QObject::connect(&socket, &QTcpSocket::readyRead, &loop, take);
    QObject::connect(&socket, &QTcpSocket::disconnected, &loop, [&] {
        take();
        finish(false);
    });
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &loop,
                     [&](QAbstractSocket::SocketError error) {
                         // The server ending the answer by closing is the normal end.
                         if (error == QAbstractSocket::RemoteHostClosedError) {
                             take();
                             finish(false);
                         } else {
                             finish(true);
                         }
                     });
    QObject::connect(&limit, &QTimer::timeout, &loop, [&] { finish(true); });

    limit.start(limitMs);
    socket.connectToHost(u.host(), quint16(u.port(80)));
    if (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    QObject::disconnect(&socket, nullptr, &loop, nullptr); // the answer is complete
    socket.abort();

    if (failed)
        return {};
    return Http_Answer_Body(received);
}

QString Http_Answer_Body(const QByteArray& received)
{
    const Response r = Parse_Response(received);
    if (!r.headComplete || r.status < 200 || r.status > 299)
        return {};
    QByteArray body = r.body;
    if (r.contentLength >= 0) {
        if (body.size() < r.contentLength)
            return {}; // cut short
        body.truncate(r.contentLength);
    }
    return QString::fromUtf8(body);
}

int Conv_Version(const QString& Ver_str)
{
    const qsizetype blank = Ver_str.indexOf(QLatin1Char(' '));
    const QString T = Trim_Ctrl(blank < 0 ? Ver_str : Ver_str.mid(blank + 1));
    if (T.size() < 5)
        return -1;
    // One digit, a separator, three digits; whatever follows is ignored.
    const QString digits = QString(T.at(0)) + T.at(2) + T.at(3) + T.at(4);
    int value = 0;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

bool Is_Newer_Version(const QString& answer)
{
    const QString U = Trim_Ctrl(answer.toUpper());
    if (U.isEmpty() || U == QLatin1String("VER. 0.000"))
        return false;
    const int own = Conv_Version(SW_Version_Text);
    const int remote = Conv_Version(Trim_Ctrl(answer));
    return own != -1 && remote != -1 && remote > own;
}

bool Check_Version()
{
    return Is_Newer_Version(Http_Get_Body(Version_Service_Url));
}

QString Download_Link_Html(const QString& text)
{
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(Download_Page_Url, text.toHtmlEscaped());
}
