#pragma once

#include <QString>

// The benchmark's photographs: count noisy JPEGs of width × height pixels,
// "photo000.jpg" and on, written once into folder (quality 90, on every core).
// Files already there are kept. Returns false when one could not be written.
bool EnsureBenchData(const QString& folder, int count, int width, int height);

// The same photographs as a camera writes them, into another folder: each
// with a preview of 160 × 120 pixels in its EXIF block (the picture fitted
// between black bars where its proportions are not 4:3).
bool EnsureCameraBenchData(const QString& folder, int count, int width, int height);
