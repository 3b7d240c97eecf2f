#pragma once

#include "buscheck/CanLog.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QCanBusDevice;

// A CAN interface opened through Qt's CAN bus plugins, only ever read: no frame is written.
class Can_Live_Source final : public QObject {
    Q_OBJECT

public:
    using Sink = std::function<void(const Can_Frame&)>;
    explicit Can_Live_Source(Sink sink, QObject* parent = nullptr);
    ~Can_Live_Source() override;

    // The plugins this platform offers, and the interfaces one of them finds.
    static QStringList Plugins();
    static QStringList Interfaces(const QString& plugin);

    // Opens `interfaceName` of `plugin` at `bitRate` bit/s. Returns the reason when it cannot.
    QString Start(const QString& plugin, const QString& interfaceName, quint32 bitRate);
    void Stop();
    bool Running() const { return m_device != nullptr; }

    qint64 Frames() const { return m_frames; }
    // Frames the adapter reported lost (receive overflows).
    qint64 Dropped() const { return m_dropped; }

Q_SIGNALS:
    // After each batch of frames was handed to the sink.
    void Batch_Read();
    void Failed(const QString& reason);

private:
    void Read_Batch();

    Sink m_sink;
    QCanBusDevice* m_device = nullptr;
    qint64 m_frames = 0;
    qint64 m_dropped = 0;
};
