#pragma once

#include <QIcon>
#include <QImage>

// The picture greyed as a button that cannot be used shows it: every colour
// turned to its grey and faded to a third, so the button's face shows through.
QImage GreyedPicture(const QImage& picture);

// A picture button's icon: the picture as it is, and the greyed picture for a
// disabled button, at the sizes a tool bar asks for. The greyed picture is
// part of the icon, so it looks the same under every style.
QIcon PictureButtonIcon(const QIcon& picture);
