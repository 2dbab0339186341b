#pragma once

// Walking a thumbnail grid with the keyboard, in plain functions: which cell a
// key leads to, which entry is current, how many rows a page holds and how far
// the canvas scrolls to show an entry.
#include <QList>
#include <optional>

// The keys that move the current entry.
enum class KeyMove { Left, Right, Up, Down, Home, End, PageUp, PageDown };

// The move of a key code (Qt::Key), or none for any other key.
std::optional<KeyMove> KeyMoveOf(int key);

// The cell a move leads to from a cell of a grid of count cells in rows of
// columns cells (the last row may be shorter). Left and Right step through the
// cells in order; Up and Down go one row, Page Up and Page Down pageRows rows,
// keeping the column as far as the row allows; Home and End go to the first and
// last cell. A move that would leave the grid stays where it is.
int MoveCell(int cell, int count, KeyMove move, int columns, int pageRows);

// The cell of the current entry among the shown entries (their entry numbers,
// in order, one per cell): the cell of the entry itself; for an entry no longer
// shown the cell of the next shown entry, which took its place (the last cell
// when none follows); the first cell when there is no current entry yet. -1
// when nothing is shown.
int CurrentCell(const QList<int>& shown, int current);

// The whole rows of cells of the given height that a viewport shows, at least 1.
int RowsInView(int viewportHeight, int cellHeight);

// The scroll value that shows the span from top to bottom (canvas pixels)
// wholly in a viewport now scrolled to value, moving as little as it can: the
// value is kept when the span is in view already; a span taller than the
// viewport shows its top. The result lies between 0 and maximum.
int ScrollToShow(int value, int viewportHeight, int top, int bottom, int maximum);
