#pragma once

#include <cstddef>

// The toolbar's 320x32 24-bit BMP (drawn by scripts/make-toolbar-strip.py).
extern const unsigned char ToolbarStrip[];
extern const std::size_t ToolbarStripSize;
