#include "options/LanguageList.h"

#include "app/UComon.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

QStringList List_Language_Files(const QString& dir)
{
    QStringList out;
    const QDir d(dir);
    // Hidden files count like any other; only "*.lng" exactly, since that is the name the
    // language is loaded by.
    const QFileInfoList files = d.entryInfoList(
        {QStringLiteral("*.lng")}, QDir::Files | QDir::Hidden | QDir::System | QDir::CaseSensitive);
    for (const QFileInfo& f : files) {
        // A file its owner may not write counts as read-only, and read-only files are not
        // offered.
        if (!(f.permissions() & QFileDevice::WriteOwner))
            continue;
        out.append(f.fileName());
    }
    std::stable_sort(out.begin(), out.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return out;
}

int Language_Page_Count(int languages)
{
    return (languages + Languages_Per_Page - 1) / Languages_Per_Page;
}

int Languages_On_Page(int languages, int page)
{
    return std::clamp(languages - (page - 1) * Languages_Per_Page, 0, Languages_Per_Page);
}

QString Language_Of_File(const QString& fileName)
{
    return fileName.chopped(std::min<qsizetype>(4, fileName.size()));
}

QString Flag_Picture_Path(const QString& dir, const QString& language)
{
    const QString own = Path_Join(dir, language + QStringLiteral(".bmp"));
    if (QFileInfo(own).isFile())
        return own;
    const QString fallback = Path_Join(dir, QStringLiteral("DefaultFlag.bmp"));
    if (QFileInfo(fallback).isFile())
        return fallback;
    return {};
}
