#pragma once

#include <functional>

class QTimer;

// The first look-up comes a minute after start-up, the next ones every two hours.
constexpr int Update_First_Interval_Ms = 60000;
constexpr int Update_Repeat_Interval_Ms = 7200000;

// Switches the look-up timer on or off. A timer that is already running keeps its countdown.
void Set_Update_Timer(QTimer& timer, bool on);

// The timer's event: stops the timer while `check` runs (it blocks for up to the request's
// time limit), then rearms it for two hours. Returns what `check` found.
bool Update_Timer_Event(QTimer& timer, const std::function<bool()>& check);
