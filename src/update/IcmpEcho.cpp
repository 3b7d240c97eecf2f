#include "update/IcmpEcho.h"

#include <QElapsedTimer>
#include <QStringList>

#include <QtEndian>
#include <algorithm>

#ifdef Q_OS_WIN
// The order matters: winsock2 before windows, iphlpapi before icmpapi.
#include <winsock2.h>

#include <windows.h>

#include <iphlpapi.h>

#include <icmpapi.h>
#else
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

// Only numeric addresses: the boxes hold the four numbers of an address, and a name lookup
// would send the typed text to a name server and could hold the window for seconds.
bool Parse_Ipv4(const QString& host, quint32* address, QString* error)
{
    const std::optional<quint32> a = Ipv4_Address(host);
    if (!a) {
        if (error)
            *error = QStringLiteral("\"%1\" is not an IPv4 address").arg(host);
        return false;
    }
    *address = *a;
    return true;
}

#ifdef Q_OS_WIN

bool Echo_Ipv4(quint32 address, const QByteArray& data, int replyWaitMs,
               const Icmp_Echo_Client::Reply_Handler& onReply, QString* error)
{
    const HANDLE h = IcmpCreateFile();
    if (h == INVALID_HANDLE_VALUE) {
        if (error)
            *error = QStringLiteral("ICMP is not available (error %1)").arg(GetLastError());
        return false;
    }
    QByteArray request = data.left(Icmp_Packet_Size - 8);
    QByteArray reply(int(sizeof(ICMP_ECHO_REPLY)) + request.size() + 8 + Icmp_Packet_Size, 0);
    const DWORD n = IcmpSendEcho(h, qToBigEndian(address), request.data(), WORD(request.size()),
                                 nullptr, reply.data(), DWORD(reply.size()), DWORD(replyWaitMs));
    const DWORD code = n ? 0 : GetLastError();
    IcmpCloseHandle(h);
    int bytes = 0;
    if (n > 0) {
        const auto* r = reinterpret_cast<const ICMP_ECHO_REPLY*>(reply.constData());
        // An unreachable report is no answer of the device.
        if (r->Status == IP_SUCCESS)
            bytes = int(r->DataSize) + 8;
    } else if (code < IP_STATUS_BASE || code > IP_STATUS_BASE + 100) {
        // IP_STATUS codes (time-out, unreachable ...) are replies without data; others are
        // failures of the request itself.
        if (error)
            *error = QStringLiteral("ICMP echo failed (error %1)").arg(code);
        return false;
    }
    onReply(bytes);
    return true;
}

#else

quint16 Checksum(const unsigned char* p, size_t n)
{
    quint32 sum = 0;
    for (; n > 1; p += 2, n -= 2)
        sum += quint32(p[0]) << 8 | p[1];
    if (n)
        sum += quint32(p[0]) << 8;
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return quint16(~sum);
}

QString System_Error(const char* what, int err)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(err)));
}

class Socket_Guard {
public:
    explicit Socket_Guard(int fd) : m_fd(fd) {}
    ~Socket_Guard()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Socket_Guard(const Socket_Guard&) = delete;
    Socket_Guard& operator=(const Socket_Guard&) = delete;

private:
    int m_fd;
};

// Size of the ICMP message when `buf` is the echo reply to our request, else 0.
int Echo_Reply_Size(const unsigned char* buf, size_t n, quint16 id, quint16 seq, bool checkId)
{
    // Raw sockets (and datagram sockets on some systems) deliver the IP header too.
    size_t ihl = 0;
    if (n > 0 && buf[0] >> 4 == 4)
        ihl = size_t(buf[0] & 0x0F) * 4;
    if (n < ihl + 8)
        return 0;
    const unsigned char* icmp = buf + ihl;
    if (icmp[0] != 0 || icmp[1] != 0)
        return 0;
    if (checkId && (quint16(icmp[4] << 8 | icmp[5]) != id))
        return 0;
    if (quint16(icmp[6] << 8 | icmp[7]) != seq)
        return 0;
    return int(n - ihl);
}

quint16 Sequence = 0;

// Linux lets unprivileged users ping through datagram ICMP sockets where
// net.ipv4.ping_group_range allows it; raw sockets need CAP_NET_RAW.
bool Echo_Ipv4(quint32 address, const QByteArray& data, int replyWaitMs,
               const Icmp_Echo_Client::Reply_Handler& onReply, QString* error)
{
    bool raw = false;
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd < 0) {
        const int dgramErr = errno;
        fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
        raw = true;
        if (fd < 0) {
            if (error)
                *error = System_Error("no right to send ICMP echo requests", dgramErr);
            return false;
        }
    }
    const Socket_Guard guard(fd);

    // The kernel puts its own identifier into datagram sockets' requests.
    const quint16 id = raw ? quint16(::getpid()) : 0;
    const quint16 seq = ++Sequence;
    QByteArray packet(8, 0);
    packet[0] = 8; // echo request
    packet[4] = char(id >> 8);
    packet[5] = char(id);
    packet[6] = char(seq >> 8);
    packet[7] = char(seq);
    packet += data.left(Icmp_Packet_Size - 8);
    const quint16 sum =
        Checksum(reinterpret_cast<const unsigned char*>(packet.constData()), size_t(packet.size()));
    packet[2] = char(sum >> 8);
    packet[3] = char(sum);

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = qToBigEndian(address);
    if (::sendto(fd, packet.constData(), size_t(packet.size()), 0,
                 reinterpret_cast<const sockaddr*>(&to), sizeof to) < 0) {
        if (error)
            *error = System_Error("cannot send the ICMP echo request", errno);
        return false;
    }

    QElapsedTimer clock;
    clock.start();
    unsigned char buf[Icmp_Packet_Size + 60];
    for (;;) {
        const qint64 left = replyWaitMs - clock.elapsed();
        if (left <= 0)
            break;
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, int(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0) {
            if (error)
                *error = System_Error("waiting for the ICMP echo reply failed", errno);
            return false;
        }
        if (ready == 0)
            break;
        sockaddr_in from{};
        socklen_t fromLen = sizeof from;
        const ssize_t n =
            ::recvfrom(fd, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &fromLen);
        if (n < 0) {
            // An unreachable report for our request: the device did not answer.
            if (errno == EINTR || errno == EAGAIN || errno == ECONNREFUSED ||
                errno == EHOSTUNREACH || errno == ENETUNREACH || errno == EHOSTDOWN)
                continue;
            if (error)
                *error = System_Error("cannot receive the ICMP echo reply", errno);
            return false;
        }
        const int bytes = Echo_Reply_Size(buf, size_t(n), id, seq, raw);
        if (bytes > 0 && from.sin_addr.s_addr == to.sin_addr.s_addr) {
            onReply(bytes);
            return true;
        }
        // Anything else (our own request seen on loopback, other programs' traffic,
        // error reports) is not the answer.
    }
    onReply(0);
    return true;
}

#endif

class System_Icmp_Client final : public Icmp_Echo_Client {
public:
    bool Ping(const QString& host, const QByteArray& data, int replyWaitMs,
              const Reply_Handler& onReply, QString* error) override
    {
        quint32 address = 0;
        return Parse_Ipv4(host, &address, error) &&
               Echo_Ipv4(address, data, replyWaitMs, onReply, error);
    }
};

System_Icmp_Client System_Client;
Icmp_Echo_Client* Current = nullptr;

} // namespace

std::optional<quint32> Ipv4_Address(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    quint32 address = 0;
    for (const QString& part : parts) {
        // Decimal digits only: a resolver would read "010" as octal and accept "1.2.3".
        if (part.isEmpty() || part.size() > 9 ||
            !std::all_of(part.begin(), part.end(),
                         [](QChar c) { return c.isDigit() && c.unicode() < 128; }))
            return std::nullopt;
        const uint n = part.toUInt();
        if (n > 255)
            return std::nullopt;
        address = address << 8 | n;
    }
    return address;
}

Icmp_Echo_Client& Icmp_Client()
{
    return Current ? *Current : System_Client;
}

void Set_Icmp_Client(Icmp_Echo_Client* c)
{
    Current = c;
}
