#include "platform/NameOrder.h"

#include <algorithm>

bool NameLess(const QString& a, const QString& b) {
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    if (folded != 0)
        return folded < 0;
    return QString::compare(a, b, Qt::CaseSensitive) < 0;
}

void SortNames(QStringList& names) {
    std::sort(names.begin(), names.end(), NameLess);
}
