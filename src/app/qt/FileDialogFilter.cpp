#include "app/qt/FileDialogFilter.h"

#include <QString>

#include "host/FileFilterList.h"

namespace {

QString ConvertPatterns(const std::vector<std::string>& patterns) {
    QStringList out;
    for (const std::string& pattern : patterns)
        out << (pattern == "*.*" ? QStringLiteral("*") : QString::fromStdString(pattern));
    if (out.isEmpty())
        out << QStringLiteral("*");
    return out.join(u' ');
}

// "PNG Files (*.png)" -> "PNG Files": the patterns are added back in the toolkit's form.
QString StripTrailingPatterns(QString name) {
    name = name.trimmed();
    if (name.endsWith(u')')) {
        const qsizetype open = name.lastIndexOf(u'(');
        if (open > 0)
            name = name.left(open).trimmed();
    }
    return name;
}

}  // namespace

QStringList ToQtNameFilters(const std::string& filter) {
    QStringList filters;
    for (const SFileFilter& entry : ParseFileFilter(filter)) {
        const QString given = QString::fromStdString(entry.name);
        QString name = StripTrailingPatterns(given);
        if (name.isEmpty())
            name = given.trimmed();
        filters << QStringLiteral("%1 (%2)").arg(name, ConvertPatterns(entry.patterns));
    }
    return filters;
}
