#include "app/Launcher.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QProcess>

#if defined(__SANITIZE_ADDRESS__)
#define SW38591_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SW38591_LEAK_CHECK 1
#endif
#endif
#ifdef SW38591_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

namespace {

class Qt_Process_Launcher final : public Process_Launcher {
public:
    Start_Result Start_Detached(const QString& program, const QStringList& args,
                                const QString& workDir) override
    {
        QProcess p;
        p.setProgram(program);
        p.setArguments(args);
        p.setWorkingDirectory(workDir);
        Start_Result r;
        r.started = p.startDetached();
        if (!r.started)
            r.error = p.errorString();
        return r;
    }

    Wait_Result Start_And_Wait(const QString& program, const QStringList& args,
                               const QString& workDir, int limitMs,
                               const std::function<void()>& whileWaiting) override
    {
        Wait_Result r;
        auto* p = new QProcess;
        p->setProgram(program);
        p->setArguments(args);
        p->setWorkingDirectory(workDir);
        // A pipe would die with the configurator and take the tool with it at its next write.
        p->setStandardInputFile(QProcess::nullDevice());
        p->setStandardOutputFile(QProcess::nullDevice());
        p->setStandardErrorFile(QProcess::nullDevice());
        p->start();
        r.started = p->waitForStarted();
        if (!r.started) {
            r.error = p->errorString();
            delete p;
            return r;
        }
        QElapsedTimer clock;
        clock.start();
        while (p->state() != QProcess::NotRunning && !p->waitForFinished(10)) {
            if (p->state() == QProcess::NotRunning || clock.elapsed() >= limitMs)
                break;
            if (whileWaiting)
                whileWaiting();
        }
        r.finished = p->state() == QProcess::NotRunning;
        if (r.finished) {
            r.crashed = p->exitStatus() == QProcess::CrashExit;
            r.exitCode = p->exitCode();
            delete p;
        } else {
            // The tool goes on by itself; we only stop waiting for it.
            QObject::connect(p, &QProcess::finished, p, &QObject::deleteLater);
#ifdef SW38591_LEAK_CHECK
            // Kept on purpose while the tool runs: deleting it would end the tool.
            __lsan_ignore_object(p);
#endif
            r.stillRunning = [process = QPointer<QProcess>(p)] {
                if (!process || process->state() == QProcess::NotRunning)
                    return false;
                process->waitForFinished(0); // notices an end the event loop has not seen yet
                return process->state() != QProcess::NotRunning;
            };
        }
        return r;
    }
};

Qt_Process_Launcher Qt_Launcher;
Process_Launcher* Current = nullptr;

} // namespace

Process_Launcher& Launcher()
{
    return Current ? *Current : Qt_Launcher;
}

void Set_Launcher(Process_Launcher* l)
{
    Current = l;
}
