#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Starting the external tools goes through here, so that tests can replace it.
class Process_Launcher {
public:
    struct Start_Result {
        bool started = false;
        QString error; // the system's reason when not started
    };
    struct Wait_Result {
        bool started = false;
        bool finished = false; // false: still running when the wait limit passed
        int exitCode = -1;
        bool crashed = false; // ended abnormally (a signal): exitCode means nothing
        QString error;
        // Set when the program outlived the wait: whether it is still running.
        std::function<bool()> stillRunning;
    };

    virtual ~Process_Launcher() = default;
    // Starts `program` and returns at once; the program keeps running on its own.
    virtual Start_Result Start_Detached(const QString& program, const QStringList& args,
                                        const QString& workDir) = 0;
    // Starts `program` and waits up to `limitMs` for it to end, calling `whileWaiting` (when
    // set) about every 10 ms. The program's standard channels go to the null device, not to
    // pipes, so that it outlives the configurator.
    virtual Wait_Result Start_And_Wait(const QString& program, const QStringList& args,
                                       const QString& workDir, int limitMs,
                                       const std::function<void()>& whileWaiting) = 0;
};

// The current implementation: QProcess unless a test installed another.
Process_Launcher& Launcher();
// Installs `l` (not owned); nullptr restores the QProcess implementation.
void Set_Launcher(Process_Launcher* l);
