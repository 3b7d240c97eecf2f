#include "app/Launcher.h"

#include <QProcess>

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
                               const QString& workDir, int limitMs) override
    {
        Wait_Result r;
        auto* p = new QProcess;
        p->setProgram(program);
        p->setArguments(args);
        p->setWorkingDirectory(workDir);
        p->start();
        r.started = p->waitForStarted();
        if (!r.started) {
            r.error = p->errorString();
            delete p;
            return r;
        }
        r.finished = p->waitForFinished(limitMs);
        if (r.finished) {
            r.exitCode = p->exitCode();
            delete p;
        } else {
            // The tool goes on by itself; we only stop waiting for it.
            QObject::connect(p, &QProcess::finished, p, &QObject::deleteLater);
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
