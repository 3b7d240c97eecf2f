#include "editors/ParGenLayout.h"

#include <QTest>

namespace {

// The controls at their design sizes, every box expanded.
ParGen_Layout_Input Design(int device)
{
    ParGen_Layout_Input in;
    in.Device_Position = device;
    in.Select_Device_Height = 58;
    in.J1939_Height = 192;
    in.DeviceNet_Slave_Height = 92;
    in.Ethernet_Height = 190;
    in.Select_Device_Bottom = 21 + 22;
    in.DeviceNet_Baud_Bottom = 55 + 22;
    in.Ethernet_GAT4_Bottom = 154 + 21;
    in.En_Peer_Height = 17;
    in.DevID_Height = 21;
    return in;
}

QList<int> Tops(const ParGen_Layout& l)
{
    QList<int> t = {l.GB_Select_Device.Top, l.GB_J1939.Top, l.GB_DeviceNet_Slave.Top};
    if (l.GB_Ethernet.Shown)
        t.append(l.GB_Ethernet.Top);
    return t;
}

QList<int> Heights(const ParGen_Layout& l)
{
    QList<int> h = {l.GB_Select_Device.Height, l.GB_J1939.Height, l.GB_DeviceNet_Slave.Height};
    if (l.GB_Ethernet.Shown)
        h.append(l.GB_Ethernet.Height);
    return h;
}

} // namespace

class tst_ParGenLayout final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void geometry_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<int>("collapsed"); // box index, -1 none
        QTest::addColumn<QList<int>>("tops");
        QTest::addColumn<QList<int>>("heights");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("client");

        QTest::newRow("without Ethernet port")
            << 0 << -1 << QList<int>{70, 134, 332} << QList<int>{58, 192, 92} << 437 << 478;
        QTest::newRow("with Ethernet port") << 1 << -1 << QList<int>{70, 134, 299, 397}
                                            << QList<int>{58, 159, 92, 190} << 600 << 641;
        QTest::newRow("no device selected") << -1 << -1 << QList<int>{70, 134, 299, 397}
                                            << QList<int>{58, 159, 92, 190} << 600 << 641;
        QTest::newRow("without, J1939 collapsed")
            << 0 << 1 << QList<int>{70, 134, 166} << QList<int>{58, 26, 92} << 271 << 312;
        QTest::newRow("with, J1939 collapsed")
            << 1 << 1 << QList<int>{70, 134, 166, 264} << QList<int>{58, 26, 92, 190} << 467 << 508;
        QTest::newRow("with, device collapsed") << 1 << 0 << QList<int>{70, 102, 267, 365}
                                                << QList<int>{26, 159, 92, 190} << 568 << 609;
        QTest::newRow("with, DeviceNet collapsed") << 1 << 2 << QList<int>{70, 134, 299, 331}
                                                   << QList<int>{58, 159, 26, 190} << 534 << 575;
        QTest::newRow("with, Ethernet collapsed")
            << 1 << 3 << QList<int>{70, 134, 299, 397} << QList<int>{58, 159, 92, 26} << 436 << 477;
        QTest::newRow("without, Ethernet collapsed")
            << 0 << 3 << QList<int>{70, 134, 332} << QList<int>{58, 192, 92} << 437 << 478;
    }

    void geometry()
    {
        QFETCH(int, device);
        QFETCH(int, collapsed);
        QFETCH(QList<int>, tops);
        QFETCH(QList<int>, heights);
        QFETCH(int, buttons);
        QFETCH(int, client);

        ParGen_Layout_Input in = Design(device);
        bool* flags[] = {&in.Select_Device_Visible, &in.J1939_Visible, &in.DeviceNet_Slave_Visible,
                         &in.Ethernet_Visible};
        int* current[] = {&in.Select_Device_Height, &in.J1939_Height, &in.DeviceNet_Slave_Height,
                          &in.Ethernet_Height};
        if (collapsed >= 0) {
            *flags[collapsed] = false;
            *current[collapsed] = 26;
        }
        const ParGen_Layout out = ParGen_Move_GroupBoxs(in);
        QCOMPARE(Tops(out), tops);
        QCOMPARE(Heights(out), heights);
        QCOMPARE(out.GB_Ethernet.Shown, device != 0);
        QCOMPARE(out.Buttons_Top, buttons);
        QCOMPARE(out.Client_Height, client);
        QCOMPARE(out.Client_Width, 312);
        for (const ParGen_Box_Place* b :
             {&out.GB_Select_Device, &out.GB_J1939, &out.GB_DeviceNet_Slave, &out.GB_Ethernet})
            QCOMPARE(b->Left, 8);
    }

    // An expanded box takes its height from its last control, not from what it had before.
    void expanding_restores_height()
    {
        ParGen_Layout_Input in = Design(0);
        in.J1939_Height = 26;
        in.Ethernet_Height = 26;
        const ParGen_Layout out = ParGen_Move_GroupBoxs(in);
        QCOMPARE(out.GB_J1939.Height, 192);
        QCOMPARE(out.GB_Ethernet.Height, 26); // hidden: untouched
    }

    void j1939_controls()
    {
        const ParGen_Layout without = ParGen_Move_GroupBoxs(Design(0));
        QCOMPARE(without.J1939_Shown, (QList<ParGen_Control_Place>{{"L_J1939_SendType", 58, 16},
                                                                   {"CB_J1939_SendType", 55, 84},
                                                                   {"L_J1939_SendTimer", 92, 16},
                                                                   {"E_J1939_SendTimer", 89, 148},
                                                                   {"L_J1939_TO", 126, 16},
                                                                   {"E_J1939_TO", 123, 148},
                                                                   {"CB_J1939_En_Peer", 160, 16}}));
        QCOMPARE(without.J1939_Hidden, (QStringList{"L_J1939_DevID", "E_J1939_DevID"}));

        const ParGen_Layout with = ParGen_Move_GroupBoxs(Design(1));
        QCOMPARE(with.J1939_Shown, (QList<ParGen_Control_Place>{{"L_J1939_TO", 58, 16},
                                                                {"E_J1939_TO", 55, 148},
                                                                {"CB_J1939_En_Peer", 92, 16},
                                                                {"L_J1939_DevID", 126, 16},
                                                                {"E_J1939_DevID", 123, 148}}));
        QCOMPARE(with.J1939_Hidden, (QStringList{"L_J1939_SendType", "CB_J1939_SendType",
                                                 "L_J1939_SendTimer", "E_J1939_SendTimer"}));
    }
};

QTEST_GUILESS_MAIN(tst_ParGenLayout)
#include "tst_ParGenLayout.moc"
