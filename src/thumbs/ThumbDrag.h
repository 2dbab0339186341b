#pragma once

// What a drag of thumbnail labels carries to the drop targets: a token of
// this run of the program and the slot of the window the drag comes from.
// Another program cannot know the token, so its drags are never taken for
// ours, even when they claim our data type.
#include <QByteArray>

class QMimeData;

// The drag of thumbnail labels carries this type.
inline constexpr char ThumbnailMimeType[] = "application/x-piksor-thumbnails";

QByteArray ThumbDragPayload(int slot);

// The slot of a drag of this run's thumbnail labels, or -1 for anything else.
int ThumbDragSource(const QMimeData* data);
