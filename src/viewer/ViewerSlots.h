#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

// Takes the lowest free viewer slot and marks it used. Both arrays keep the
// same bounds, and they grow so that the last slot is always free afterwards.
int TakeViewerSlot(QList<bool>& used, QList<QPointer<QWidget>>& viewers);
