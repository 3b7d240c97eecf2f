#pragma once

#include <QByteArray>
#include <QTcpServer>

// An HTTP server on 127.0.0.1 for the version look-up: records the request it gets and sends
// a scripted answer, or never answers at all.
class Loopback_Http final : public QObject {
    Q_OBJECT

public:
    Loopback_Http();

    // The URL of the version service on this server.
    QString url() const;

    QByteArray reply;    // the raw response: status line, headers, body
    bool silent = false; // accept the connection and never answer
    QByteArray request;  // what the last client sent, up to the blank line

    static QByteArray Ok(const QByteArray& body);

private:
    QTcpServer m_server;
};
