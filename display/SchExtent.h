// The schematic space: component tiles are laid out, and all drawing is
// requested, in integer coordinates of the square 0 .. schematicExtent on
// both axes, x to the right and y downwards.
#pragma once

constexpr int schematicExtent = 16777215;
