#include "FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

QString Fuzz_Dir()
{
    static QTemporaryDir dir;
    return dir.path();
}

QString Fuzz_File(const QString& name, const QByteArray& data)
{
    const QString path = QDir(Fuzz_Dir()).filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size())
        Fuzz_Fail("cannot write the input file");
    return path;
}

QList<QByteArray> Fuzz_Parts(const QByteArray& input, int parts)
{
    QList<QByteArray> out = input.split('\0');
    while (out.size() > parts) {
        out[parts - 1] += '\0' + out.takeLast();
    }
    while (out.size() < parts)
        out.append(QByteArray());
    return out;
}

void Fuzz_Fail(const char* what)
{
    std::fprintf(stderr, "fuzz property broken: %s\n", what);
    std::abort();
}
