#include "app/FileDialogFilter.h"

#include <QString>

namespace {

QString ConvertPatterns(const QString& patterns) {
    QStringList out;
    for (QString pattern : patterns.split(u';', Qt::SkipEmptyParts)) {
        pattern = pattern.trimmed();
        if (pattern == QLatin1String("*.*"))
            pattern = QStringLiteral("*");
        if (!pattern.isEmpty())
            out << pattern;
    }
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
    const QStringList parts = QString::fromStdString(filter).split(u'|');
    QStringList filters;
    // Pairs of name and patterns; the list ends at the first empty name.
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QString name = StripTrailingPatterns(parts[i]);
        if (name.isEmpty())
            name = parts[i].trimmed();
        filters << QStringLiteral("%1 (%2)").arg(name, ConvertPatterns(parts[i + 1]));
    }
    return filters;
}
