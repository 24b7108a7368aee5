#include "Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

bool MakeOwnerWritable(const QString& name)
{
    const QFileInfo info(name);
    if (!info.exists() && !info.isSymLink())
        return false;
    // A link's own permissions mean nothing; changing them would change its target's.
    if (info.isSymLink())
        return true;
    return QFile::setPermissions(name, info.permissions() | QFileDevice::WriteOwner);
}

bool DeleteFileForced(const QString& name)
{
    MakeOwnerWritable(name);
    return QFile::remove(name);
}

QStringList ListFiles(const QString& patterns)
{
    QStringList result;
    QSet<QString> seen;
    for (const QString& raw : patterns.split(u';', Qt::SkipEmptyParts)) {
        const QString pattern = raw.trimmed();
        if (pattern.isEmpty())
            continue;
        const qsizetype slash = pattern.lastIndexOf(u'/');
        const QString prefix = slash < 0 ? QString() : pattern.left(slash + 1);
        const QString filter = pattern.mid(slash + 1);
        if (filter.isEmpty())
            continue;
        QDir dir(prefix.isEmpty() ? u"."_s : prefix);
        dir.setNameFilters({filter});
        dir.setFilter(QDir::Files | QDir::Hidden);
        dir.setSorting(QDir::Name | QDir::IgnoreCase);
        for (const QString& file : dir.entryList()) {
            const QString name = prefix + file;
            if (!seen.contains(name)) {
                seen.insert(name);
                result.append(name);
            }
        }
    }
    return result;
}

} // namespace vestrel
