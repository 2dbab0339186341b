// The main window's part in thumbnail windows: the box size chosen in the two
// size lists.
#include "app/frmMain.h"

#include "app/mdlSt.h"
#include "platform/Screen.h"

#include <QComboBox>
#include <cmath>

void frmMain::cmbDot_Click(int index) {
    using namespace mdlSt;
    QComboBox* list = cmbDot[index];
    sngSetting[index == 0 ? SlotWidthIndex : SlotHeightIndex] = float(list->currentIndex());
    const QString text = list->currentText();
    float size = 0;
    if (text == QStringLiteral("E判"))
        size = float(5800.0 / (index == 0 ? TwipsPerPixelX() : TwipsPerPixelY()));
    else
        size = float(std::nearbyint(text.toDouble()));
    sngSetting[index == 0 ? SlotBoxWidth : SlotBoxHeight] = size;
}
