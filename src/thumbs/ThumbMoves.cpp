#include "thumbs/ThumbMoves.h"

#include <Qt>
#include <algorithm>

std::optional<KeyMove> KeyMoveOf(int key) {
    switch (key) {
    case Qt::Key_Left:
        return KeyMove::Left;
    case Qt::Key_Right:
        return KeyMove::Right;
    case Qt::Key_Up:
        return KeyMove::Up;
    case Qt::Key_Down:
        return KeyMove::Down;
    case Qt::Key_Home:
        return KeyMove::Home;
    case Qt::Key_End:
        return KeyMove::End;
    case Qt::Key_PageUp:
        return KeyMove::PageUp;
    case Qt::Key_PageDown:
        return KeyMove::PageDown;
    default:
        return std::nullopt;
    }
}

int MoveCell(int cell, int count, KeyMove move, int columns, int pageRows) {
    if (count <= 0)
        return -1;
    columns = std::max(columns, 1);
    cell = std::clamp(cell, 0, count - 1);
    const int row = cell / columns;
    const int column = cell % columns;
    const int lastRow = (count - 1) / columns;
    // The cell in that column of another row, or the row's last cell when the
    // row is shorter.
    const auto inRow = [&](int r) { return std::min(r * columns + column, count - 1); };
    switch (move) {
    case KeyMove::Left:
        return std::max(cell - 1, 0);
    case KeyMove::Right:
        return std::min(cell + 1, count - 1);
    case KeyMove::Up:
        return row > 0 ? inRow(row - 1) : cell;
    case KeyMove::Down:
        return row < lastRow ? inRow(row + 1) : cell;
    case KeyMove::Home:
        return 0;
    case KeyMove::End:
        return count - 1;
    case KeyMove::PageUp:
        return inRow(std::max(row - std::max(pageRows, 1), 0));
    case KeyMove::PageDown:
        return inRow(std::min(row + std::max(pageRows, 1), lastRow));
    }
    return cell;
}

int CurrentCell(const QList<int>& shown, int current) {
    if (shown.isEmpty())
        return -1;
    if (current < 0)
        return 0;
    const auto at = std::lower_bound(shown.begin(), shown.end(), current);
    return at == shown.end() ? int(shown.size()) - 1 : int(at - shown.begin());
}

int RowsInView(int viewportHeight, int cellHeight) {
    return cellHeight > 0 ? std::max(viewportHeight / cellHeight, 1) : 1;
}

int ScrollToShow(int value, int viewportHeight, int top, int bottom, int maximum) {
    if (top < value || bottom - top > viewportHeight)
        value = top;
    else if (bottom > value + viewportHeight)
        value = bottom - viewportHeight;
    return std::clamp(value, 0, std::max(maximum, 0));
}
