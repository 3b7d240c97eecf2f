#include "support/LoopbackHttp.h"

#include <QHostAddress>
#include <QTcpSocket>

Loopback_Http::Loopback_Http()
{
    if (!m_server.listen(QHostAddress::LocalHost, 0))
        qFatal("loopback server cannot listen");
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* s = m_server.nextPendingConnection()) {
            connect(s, &QTcpSocket::readyRead, s, [this, s] {
                request += s->readAll();
                if (silent || !request.contains("\r\n\r\n"))
                    return;
                s->write(reply);
                s->disconnectFromHost();
            });
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        }
    });
}

QString Loopback_Http::url() const
{
    return QStringLiteral("http://127.0.0.1:%1/home/download/GetversionSW.asp?nomesw=SW38591")
        .arg(m_server.serverPort());
}

QByteArray Loopback_Http::Ok(const QByteArray& body)
{
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\n\r\n" + body;
}
