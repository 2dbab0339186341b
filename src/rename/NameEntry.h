#pragma once

#include <QString>

class QLineEdit;

// What the two name dialogs share: the locked extension of their name box and
// the refusal of names that cannot be used.

// Keeps the box's text ending in "." and the extension (lower case) after
// every change, by typing or by program. The caret stays where it was, but
// never after the ".".
void InstallExtensionLock(QLineEdit& box, const QString& extension);

// Sets the box's text by program (locked like any other change).
void SetNameText(QLineEdit& box, const QString& text);

// Shows why the name cannot be used and puts the focus into the box; false
// when the name is fine.
bool RefuseName(const QString& name, QLineEdit& box);
