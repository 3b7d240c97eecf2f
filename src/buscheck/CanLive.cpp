#include "buscheck/CanLive.h"

#include <QCanBus>
#include <QCanBusDevice>
#include <QCanBusFrame>
#include <QVariant>

namespace {

// Byte 1 of a controller error frame: bit 0 receive buffer overflow (SocketCAN's layout,
// which Qt passes on).
constexpr quint8 Controller_Rx_Overflow = 0x01;

} // namespace

Can_Live_Source::Can_Live_Source(Sink sink, QObject* parent)
    : QObject(parent), m_sink(std::move(sink))
{
}

Can_Live_Source::~Can_Live_Source()
{
    Stop();
}

QStringList Can_Live_Source::Plugins()
{
    return QCanBus::instance()->plugins();
}

QStringList Can_Live_Source::Interfaces(const QString& plugin)
{
    QStringList names;
    for (const QCanBusDeviceInfo& info : QCanBus::instance()->availableDevices(plugin))
        names << info.name();
    return names;
}

QString Can_Live_Source::Start(const QString& plugin, const QString& interfaceName, quint32 bitRate)
{
    Stop();
    QString error;
    QCanBusDevice* device = QCanBus::instance()->createDevice(plugin, interfaceName, &error);
    if (!device)
        return error;
    // SocketCAN takes its bit rate from the system's interface set-up (ip link); setting it
    // from here would need root. The other adapters are set from the configuration.
    if (plugin != QLatin1String("socketcan"))
        device->setConfigurationParameter(QCanBusDevice::BitRateKey, QVariant(bitRate));
    device->setConfigurationParameter(QCanBusDevice::ReceiveOwnKey, false);
    device->setConfigurationParameter(
        QCanBusDevice::ErrorFilterKey,
        QVariant::fromValue(QCanBusFrame::FrameErrors(QCanBusFrame::ControllerError)));
    connect(device, &QCanBusDevice::framesReceived, this, &Can_Live_Source::Read_Batch);
    connect(device, &QCanBusDevice::errorOccurred, this,
            [this, device](QCanBusDevice::CanBusError e) {
                if (e == QCanBusDevice::ConnectionError || e == QCanBusDevice::ReadError)
                    Q_EMIT Failed(device->errorString());
            });
    if (!device->connectDevice()) {
        error = device->errorString();
        delete device;
        return error.isEmpty() ? interfaceName : error;
    }
    m_device = device;
    m_frames = m_dropped = 0;
    return QString();
}

void Can_Live_Source::Stop()
{
    if (!m_device)
        return;
    QCanBusDevice* d = m_device;
    m_device = nullptr;
    d->disconnect(this);
    d->disconnectDevice();
    d->deleteLater();
}

void Can_Live_Source::Read_Batch()
{
    if (!m_device)
        return;
    // All that waits in one go: one signal may stand for many frames on a loaded bus.
    const QList<QCanBusFrame> frames = m_device->readAllFrames();
    Can_Frame f;
    for (const QCanBusFrame& q : frames) {
        if (q.frameType() == QCanBusFrame::ErrorFrame) {
            const QByteArray p = q.payload();
            if ((q.error() & QCanBusFrame::ControllerError) && p.size() > 1 &&
                (quint8(p[1]) & Controller_Rx_Overflow))
                ++m_dropped;
            continue;
        }
        if (q.frameType() != QCanBusFrame::DataFrame &&
            q.frameType() != QCanBusFrame::RemoteRequestFrame)
            continue;
        const QByteArray p = q.payload();
        f = Can_Frame();
        f.id = q.frameId();
        f.extended = q.hasExtendedFrameFormat();
        f.remote = q.frameType() == QCanBusFrame::RemoteRequestFrame;
        f.size = quint8(qMin<qsizetype>(p.size(), 8));
        std::copy(p.begin(), p.begin() + f.size, f.data.begin());
        const QCanBusFrame::TimeStamp t = q.timeStamp();
        f.time_us = t.seconds() * 1000000 + t.microSeconds();
        f.timed = true;
        ++m_frames;
        m_sink(f);
    }
    Q_EMIT Batch_Read();
}
