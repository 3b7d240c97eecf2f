#include "options/UpdateTimer.h"

#include <QTimer>

void Set_Update_Timer(QTimer& timer, bool on)
{
    if (!on)
        timer.stop();
    else if (!timer.isActive())
        timer.start();
}

bool Update_Timer_Event(QTimer& timer, const std::function<bool()>& check)
{
    timer.stop();
    const bool newer = check();
    timer.setInterval(Update_Repeat_Interval_Ms);
    timer.start();
    return newer;
}
