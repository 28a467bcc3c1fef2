#pragma once

#include <QStringList>
#include <string>

// Turns a file dialog filter of the form "Name|pattern;pattern|Name|pattern||" into the
// toolkit's name filters "Name (pattern pattern)". The all-files pattern "*.*" becomes "*"
// so that it also matches names without a dot; a name that already ends in its patterns
// in parentheses keeps only the converted ones.
QStringList ToQtNameFilters(const std::string& filter);
