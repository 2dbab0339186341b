#pragma once

#include <QIcon>

// The pictures of the viewer's buttons, drawn here so that they look the same
// under every style: a magnifier with "+" or "-", and a frame with arrows
// pointing at its corners.
QIcon MagnifierIcon(bool plus);
QIcon FitFrameIcon();
