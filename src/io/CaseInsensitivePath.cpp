#include "io/CaseInsensitivePath.h"

#include <QDir>
#include <QFileInfo>

namespace tolvaro {
namespace {

// The one entry of `folder` whose name equals `name` but for case; empty when none or several.
QString OnlyMatch(const QString& folder, const QString& name) {
    QString found;
    const QDir::Filters all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    for (const QString& entry : QDir(folder).entryList(all)) {
        if (entry.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (!found.isEmpty())
            return {};
        found = entry;
    }
    return found;
}

} // namespace

QString ExistingPathIgnoringCase(const QString& path) {
    if (path.isEmpty() || QFileInfo::exists(path))
        return path;
    const QStringList parts = path.split(u'/');
    QString resolved = parts.front(); // "" for an absolute path
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString& part = parts[i];
        const QString exact = resolved + u'/' + part;
        if (part.isEmpty() || part == u"." || part == u".." || QFileInfo::exists(exact)) {
            resolved = exact;
            continue;
        }
        const QString match = OnlyMatch(resolved.isEmpty() ? QStringLiteral("/") : resolved, part);
        if (match.isEmpty())
            return path;
        resolved += u'/' + match;
    }
    return resolved;
}

} // namespace tolvaro
