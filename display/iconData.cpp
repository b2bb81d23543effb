// Icon outlines of the components, in a 0..1000 square (x right, y down).
// Each array: the number of parts, the point count of each part, then the
// points (x, y) of every part in order.  Closed shapes repeat their first point.
#include "display/iconData.h"

// clang-format off
const int andIcon[] = {1, 7,
    0, 0,  667, 0,  1000, 333,  1000, 667,  667, 1000,  0, 1000,  0, 0};

const int nandIcon[] = {2, 7, 4,
    0, 0,  600, 0,  900, 333,  900, 667,  600, 1000,  0, 1000,  0, 0,
    900, 425,  1000, 425,  1000, 575,  900, 575};

const int orIcon[] = {1, 8,
    0, 0,  750, 0,  1000, 500,  750, 1000,  0, 1000,  120, 667,  120, 333,  0, 0};

const int norIcon[] = {2, 8, 5,
    0, 0,  600, 0,  900, 500,  600, 1000,  0, 1000,  120, 667,  120, 333,  0, 0,
    900, 425,  1000, 425,  1000, 575,  900, 575,  900, 425};

const int xorIcon[] = {2, 8, 4,
    120, 0,  750, 0,  1000, 500,  750, 1000,  120, 1000,  240, 667,  240, 333,  120, 0,
    0, 0,  120, 333,  120, 667,  0, 1000};

const int xnorIcon[] = {3, 8, 4, 5,
    120, 0,  600, 0,  900, 500,  600, 1000,  120, 1000,  240, 667,  240, 333,  120, 0,
    0, 0,  120, 333,  120, 667,  0, 1000,
    900, 425,  1000, 425,  1000, 575,  900, 575,  900, 425};

const int notIcon[] = {2, 4, 5,
    0, 0,  900, 500,  0, 1000,  0, 0,
    900, 425,  1000, 425,  1000, 575,  900, 575,  900, 425};

const int iAndIcon[] = {1, 11,
    120, 1000,  667, 1000,  1000, 667,  1000, 333,  667, 0,  0, 0,  0, 500,  120, 500,  120, 1000,
    0, 1000,  0, 500};

const int iNandIcon[] = {2, 11, 4,
    120, 900,  667, 900,  900, 667,  900, 333,  667, 0,  0, 0,  0, 500,  120, 500,  120, 900,
    0, 900,  0, 500,
    900, 425,  1000, 425,  1000, 575,  900, 575};

const int CiOrIcon[] = {2, 8, 3,
    0, 0,  750, 0,  1000, 500,  750, 1000,  0, 1000,  120, 667,  120, 333,  0, 0,
    120, 500,  240, 500,  240, 1000};

const int CiNorIcon[] = {3, 8, 5, 3,
    0, 0,  600, 0,  900, 500,  600, 1000,  0, 1000,  120, 667,  120, 333,  0, 0,
    900, 425,  1000, 425,  1000, 575,  900, 575,  900, 425,
    120, 500,  240, 500,  240, 1000};

// A triangle; the second part is five copies of the origin.
const int tsbIcon[] = {2, 4, 5,
    0, 0,  1000, 500,  0, 1000,  0, 0,
    0, 0,  0, 0,  0, 0,  0, 0,  0, 0};

// A box with a drop shadow: the face, the shadow's outline, and the line
// joining their bottom-right corners.
const int rectIcon[] = {3, 5, 5, 2,
    0, 0,  960, 0,  960, 960,  0, 960,  0, 0,
    960, 0,  1000, 40,  1000, 1000,  40, 1000,  0, 960,
    960, 960,  1000, 1000};

const int circleIcon[] = {3, 5, 5, 2,
    0, 0,  960, 0,  960, 960,  0, 960,  0, 0,
    960, 0,  1000, 40,  1000, 1000,  40, 1000,  0, 960,
    960, 960,  1000, 1000};

// No parts: nothing is drawn.
const int spaceIcon[] = {0};
// clang-format on
