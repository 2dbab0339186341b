#pragma once

// Makes the metafile reader known to QImageReader; calling it again does
// nothing.
void ImportWmfPlugin();
