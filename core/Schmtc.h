// Schematic descriptors: where a component sits on the hierarchical schematic.
#pragma once

// Graphic level, position string (nested fields joined by ".") and label.
class SD {
public:
    int graphicLevel;
    char *graphicPosition;
    char *decal; // null when none was given

    SD() : graphicLevel(0), graphicPosition(nullptr), decal(nullptr) {}
    // A top-level descriptor (level 1); without a decal the component's own
    // label is shown.
    SD(const char *position, const char *decal = nullptr);
    // A descriptor nested in parent: one level deeper, position parent.position,
    // decal the parent's followed by this one's.
    SD(const SD &parent, const char *position, const char *decal = nullptr);
    SD(const SD &sd);
    SD &operator=(const SD &sd);
    ~SD();

    // The same place with another label: sd, "label".
    SD operator,(const char *decal) const;
};
