#pragma once

#include <QString>

// The benchmark's photographs: count noisy JPEGs of width × height pixels,
// "photo000.jpg" and on, written once into folder (quality 90, on every core).
// Files already there are kept. Returns false when one could not be written.
bool EnsureBenchData(const QString& folder, int count, int width, int height);
