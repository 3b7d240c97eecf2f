#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// ICMP echo ("ping") to an IPv4 host. The reachability check of the update window goes
// through here, so that tests can answer for a device.
class Icmp_Echo_Client {
public:
    // Called once per request with the number of bytes of the echo reply, 0 when none came.
    using Reply_Handler = std::function<void(int bytesReceived)>;

    virtual ~Icmp_Echo_Client() = default;

    // Sends one echo request carrying `data` to `host` and waits up to `replyWaitMs` for the
    // answer, then calls `onReply`. Returns false without calling it when the request cannot be
    // made (the host cannot be resolved, no right to send ICMP, a network error); `error` gets
    // the reason.
    virtual bool Ping(const QString& host, const QByteArray& data, int replyWaitMs,
                      const Reply_Handler& onReply, QString* error) = 0;
};

// The address of four dotted decimal numbers from 0 to 255 (a leading zero is no octal mark),
// nothing else; std::nullopt for any other text.
std::optional<quint32> Ipv4_Address(const QString& text);

// The current client: the system's ICMP unless a test installed another.
Icmp_Echo_Client& Icmp_Client();
// Installs `c` (not owned); nullptr restores the system client.
void Set_Icmp_Client(Icmp_Echo_Client* c);

// Echo reply sizes above this are cut; the request's data is never that long.
inline constexpr int Icmp_Packet_Size = 1024;
