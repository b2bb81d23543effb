// Icon outlines: P, the point count of each part, then the points (x, y)
// of every part in a 0..1000 square.
#pragma once

extern const int andIcon[];
extern const int nandIcon[];
extern const int orIcon[];
extern const int norIcon[];
extern const int xorIcon[];
extern const int xnorIcon[];
extern const int notIcon[];
extern const int iAndIcon[];
extern const int iNandIcon[];
extern const int CiOrIcon[];
extern const int CiNorIcon[];
extern const int tsbIcon[];
extern const int rectIcon[];
extern const int circleIcon[];
extern const int spaceIcon[];
