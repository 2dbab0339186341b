#pragma once

class QWidget;
class QFont;

// The text of the dialogs, whose controls are laid out in twips for the font
// the forms were designed with.

// That font: a proportional Japanese gothic at 9 points (a missing family
// falls back to the system's).
QFont FormFont();

// Gives a dialog the forms' font (a control with a font of its own keeps it),
// then lets every label with text take the room its text needs: it grows to
// the right (a centred one on both sides) and downwards, never past the edges
// of the dialog.
void FitFormTexts(QWidget& form);
