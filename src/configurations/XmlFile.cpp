#include "configurations/XmlFile.h"

#include "app/UComon.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QDomDocument Parse_Xml_Bytes(const QByteArray& bytes, const QString& name)
{
    QDomDocument doc;
    QString reason;
    int line = 0, column = 0;
    if (!doc.setContent(bytes, &reason, &line, &column)) {
        // Show where it went wrong as the user would find it in an editor.
        QString source = QString::fromUtf8(bytes);
        if (source.startsWith(QChar(0xFEFF)))
            source.remove(0, 1);
        const QStringList lines = source.split(QLatin1Char('\n'));
        QString near;
        if (line >= 1 && line <= lines.size()) {
            const QString& l = lines.at(line - 1);
            const qsizetype from = qMax<qsizetype>(0, column - 1);
            near = l.mid(from).trimmed();
            if (near.isEmpty())
                near = l.trimmed();
            if (near.size() > 40)
                near = near.left(40) + QStringLiteral("...");
        }
        QString text = QStringLiteral("Error in file %1: %2 (line %3, column %4)")
                           .arg(QDir::toNativeSeparators(name), reason)
                           .arg(line)
                           .arg(column);
        if (!near.isEmpty())
            text += QStringLiteral(" near \"%1\"").arg(near);
        throw App_Error(text);
    }
    return doc;
}

QDomDocument Load_Xml_File(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw App_Error(QStringLiteral("Cannot read the file %1: %2")
                            .arg(QDir::toNativeSeparators(path), f.errorString()));
    return Parse_Xml_Bytes(f.readAll(), path);
}

QString Child_Text(const QDomNode& parent, const QString& name, bool* found)
{
    const QDomElement e = parent.firstChildElement(name);
    if (found)
        *found = !e.isNull();
    return e.isNull() ? QString() : e.text();
}
