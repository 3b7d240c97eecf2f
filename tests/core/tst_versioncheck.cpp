#include "options/VersionCheck.h"
#include "support/LoopbackHttp.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QtTest>

class tst_versioncheck : public QObject {
    Q_OBJECT

private:
    static QList<QByteArray> Request_Lines(const QByteArray& request)
    {
        QList<QByteArray> lines = request.split('\n');
        for (QByteArray& l : lines) {
            if (!l.endsWith('\r') && !l.isEmpty())
                qWarning("header line not ended by CR LF: %s", l.constData());
            l.chop(l.endsWith('\r') ? 1 : 0);
        }
        return lines;
    }

    // The request as the version service expects it, byte for byte.
    static void Verify_Request(const QByteArray& request)
    {
        QVERIFY2(request.endsWith("\r\n\r\n"), request.constData());
        const QList<QByteArray> lines = Request_Lines(request);
        QCOMPARE(lines.first(), "GET /home/download/GetversionSW.asp?nomesw=SW38591 HTTP/1.0");
        QVERIFY(lines.contains("User-Agent: Mozilla/3.0 (compatible; Indy Library)"));
        QVERIFY(lines.contains(
            "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8"));
        for (const QByteArray& l : lines)
            QVERIFY2(!l.toLower().startsWith("cookie"), l.constData());
    }

private Q_SLOTS:
    void cleanup() { Version_Service_Url = Default_Version_Service_Url; }

    void convVersion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("own version") << "2.000" << 2000;
        QTest::newRow("server answer") << "VER. 2.010" << 2010;
        QTest::newRow("two-digit major") << "VER. 10.000" << -1;
        QTest::newRow("too short") << "VER. 2.00" << -1;
        QTest::newRow("no digits") << "VER. A.BCD" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("text after the version ignored") << "VER. 2.001 beta" << 2001;
        QTest::newRow("blanks around") << "VER.   2.001  " << 2001;
    }
    void convVersion()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(Conv_Version(text), value);
    }

    void checkVersion_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("newer");
        QTest::newRow("newer") << Loopback_Http::Ok("VER. 2.001") << true;
        QTest::newRow("newer, line end and blanks") << Loopback_Http::Ok(" VER. 2.001\r\n") << true;
        QTest::newRow("same") << Loopback_Http::Ok("VER. 2.000") << false;
        QTest::newRow("unknown product") << Loopback_Http::Ok("VER. 0.000") << false;
        QTest::newRow("unknown product, lower case") << Loopback_Http::Ok("ver. 0.000") << false;
        QTest::newRow("older") << Loopback_Http::Ok("VER. 1.999") << false;
        QTest::newRow("empty body") << Loopback_Http::Ok("") << false;
        QTest::newRow("not a version") << Loopback_Http::Ok("<html>busy</html>") << false;
        QTest::newRow("not found")
            << QByteArray("HTTP/1.1 404 Not Found\r\nContent-Length: 10\r\n\r\nVER. 9.999")
            << false;
        QTest::newRow("server error")
            << QByteArray("HTTP/1.0 500 Internal Server Error\r\n\r\nVER. 9.999") << false;
        QTest::newRow("body ends at close")
            << QByteArray("HTTP/1.0 200 OK\r\n\r\nVER. 2.001") << true;
        QTest::newRow("body cut short")
            << QByteArray("HTTP/1.0 200 OK\r\nContent-Length: 40\r\n\r\nVER. 2.001") << false;
        QTest::newRow("no status line") << QByteArray("VER. 2.001") << false;
    }
    void checkVersion()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, newer);
        Loopback_Http server;
        server.reply = reply;
        Version_Service_Url = server.url();
        QCOMPARE(Check_Version(), newer);
        Verify_Request(server.request);
    }

    void refusedConnection()
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        const quint16 port = probe.serverPort();
        probe.close();
        Version_Service_Url = QStringLiteral("http://127.0.0.1:%1/home/download/"
                                             "GetversionSW.asp?nomesw=SW38591")
                                  .arg(port);
        QElapsedTimer t;
        t.start();
        QVERIFY(!Check_Version());
        QVERIFY(t.elapsed() < Version_Request_Limit_Ms);
    }

    // A server that takes the request and never answers must not hold the program for good.
    void serverNeverAnswers()
    {
        QCOMPARE(Version_Request_Limit_Ms, 10000);
        Loopback_Http server;
        server.silent = true;
        Version_Service_Url = server.url();
        QElapsedTimer t;
        t.start();
        QVERIFY(!Check_Version());
        QVERIFY(t.elapsed() >= Version_Request_Limit_Ms - 100);
        QVERIFY(t.elapsed() < Version_Request_Limit_Ms + 3000);
        Verify_Request(server.request);
    }

    void addresses()
    {
        QCOMPARE(Default_Version_Service_Url,
                 QStringLiteral(
                     "http://www.zorvek.example/home/download/GetversionSW.asp?nomesw=SW38591"));
        QCOMPARE(Download_Page_Url,
                 QStringLiteral("http://www.zorvek.example/Home/download/download.asp#HD38591"));
    }

    void downloadLink()
    {
        QCOMPARE(Download_Link_Html(QStringLiteral("New <Version>")),
                 QStringLiteral("<a href=\"http://www.zorvek.example/Home/download/"
                                "download.asp#HD38591\">New &lt;Version&gt;</a>"));
    }
};

QTEST_GUILESS_MAIN(tst_versioncheck)
#include "tst_versioncheck.moc"
