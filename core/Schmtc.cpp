// Schematic descriptors.
#include "core/Schmtc.h"

#include <cstring>
#include <string>

namespace {

// An owned copy of text, or null for null.
char *copyOf(const char *text) {
    if (!text)
        return nullptr;
    char *copy = new char[std::strlen(text) + 1];
    std::strcpy(copy, text);
    return copy;
}

// An owned copy of the two texts joined, each possibly null; null when both are.
char *joined(const char *first, const char *second) {
    if (!first || !second)
        return copyOf(first ? first : second);
    return copyOf((std::string(first) + second).c_str());
}

} // namespace

SD::SD(const char *position, const char *decal)
    : graphicLevel(1), graphicPosition(copyOf(position)), decal(copyOf(decal)) {}

SD::SD(const SD &parent, const char *position, const char *decal)
    : graphicLevel(parent.graphicLevel + 1),
      graphicPosition(copyOf((std::string(parent.graphicPosition ? parent.graphicPosition : "") + "." +
                              (position ? position : ""))
                                 .c_str())),
      decal(joined(parent.decal, decal)) {}

SD::SD(const SD &sd)
    : graphicLevel(sd.graphicLevel), graphicPosition(copyOf(sd.graphicPosition)), decal(copyOf(sd.decal)) {}

SD &SD::operator=(const SD &sd) {
    if (this != &sd) {
        char *position = copyOf(sd.graphicPosition);
        char *label = copyOf(sd.decal);
        delete[] graphicPosition;
        delete[] decal;
        graphicLevel = sd.graphicLevel;
        graphicPosition = position;
        decal = label;
    }
    return *this;
}

SD::~SD() {
    delete[] graphicPosition;
    delete[] decal;
}

SD SD::operator,(const char *newDecal) const {
    SD relabelled(*this);
    delete[] relabelled.decal;
    relabelled.decal = copyOf(newDecal);
    return relabelled;
}
