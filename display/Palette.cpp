// The value colours of the two palettes.
#include "display/Palette.h"

#include "core/cmdLine.h"

//                              ZERO       UNINITIALIZED  XXX        HIZ        ONE
Palette defaultPalette = {"#F0FFF0", "#FFFFFF", "#FF8C00", "#FFEBCD", "#008000"};
// Saturated colours that differ in hue and in lightness, so that they stay
// apart on a washed-out projector and for the common colour-vision
// deficiencies: the two levels light (sky blue) and dark (dark green), the
// others reddish purple, vermilion and yellow.
Palette highContrastPalette = {"#56B4E9", "#CC79A7", "#D55E00", "#F0E442", "#006400"};

const Palette &chosenPalette() {
    return highContrastFlag ? highContrastPalette : defaultPalette;
}
