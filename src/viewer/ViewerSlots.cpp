#include "viewer/ViewerSlots.h"

int TakeViewerSlot(QList<bool>& used, QList<QPointer<QWidget>>& viewers) {
    qsizetype i = used.indexOf(false);
    if (i < 0)
        i = used.size();
    while (used.size() <= i + 1)
        used.append(false);
    used[i] = true;
    viewers.resize(used.size());
    return int(i);
}
