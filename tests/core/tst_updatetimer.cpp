#include "options/UpdateTimer.h"

#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

class tst_updatetimer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void enablingKeepsTheCountdown()
    {
        QTimer timer;
        timer.setInterval(400);
        QSignalSpy fired(&timer, &QTimer::timeout);
        Set_Update_Timer(timer, true);
        QVERIFY(timer.isActive());
        QTest::qWait(250);
        Set_Update_Timer(timer, true);
        // At least 250 ms of the countdown are gone; a restarted one would have all 400 left.
        // Read from the timer, not a clock, so that a slow machine cannot make it fail.
        QVERIFY2(timer.remainingTime() < 300, qPrintable(QString::number(timer.remainingTime())));
        QVERIFY(fired.wait(2000));

        Set_Update_Timer(timer, false);
        QVERIFY(!timer.isActive());
        Set_Update_Timer(timer, false);
        QVERIFY(!timer.isActive());
    }

    void eventRearmsForTwoHours_data()
    {
        QTest::addColumn<bool>("found");
        QTest::newRow("newer version") << true;
        QTest::newRow("none or failed") << false;
    }
    void eventRearmsForTwoHours()
    {
        QFETCH(bool, found);
        QCOMPARE(Update_First_Interval_Ms, 60000);
        QCOMPARE(Update_Repeat_Interval_Ms, 7200000);
        QTimer timer;
        timer.setInterval(Update_First_Interval_Ms);
        timer.start();
        bool stoppedWhileChecking = false;
        const bool result = Update_Timer_Event(timer, [&] {
            stoppedWhileChecking = !timer.isActive();
            return found;
        });
        QCOMPARE(result, found);
        QVERIFY(stoppedWhileChecking);
        QVERIFY(timer.isActive());
        QCOMPARE(timer.interval(), Update_Repeat_Interval_Ms);
        QVERIFY(timer.remainingTime() > Update_Repeat_Interval_Ms - 5000);
    }
};

QTEST_GUILESS_MAIN(tst_updatetimer)
#include "tst_updatetimer.moc"
