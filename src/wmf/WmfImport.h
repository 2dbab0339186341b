#pragma once

// Makes the metafile reader known to QImageReader. It is done once, while the
// program starts, in every program that calls this; calling it again does
// nothing.
void ImportWmfPlugin();
