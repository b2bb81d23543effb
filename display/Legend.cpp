// The legend of the value colours and the pane readout.
#include "display/Legend.h"

#include "display/Palette.h"
#include "display/Window.h"

namespace {

// The legend's order: the two levels first, then the three others.
const SignalValue legendOrder[] = {ZERO, ONE, UNINITIALIZED, XXX, HIZ};

// Pixels between a pane and its readout, and between legend entries.
constexpr int readoutGap = 2;
constexpr int legendGap = 10;

} // namespace

std::vector<LegendEntry> legendLayout(int windowWidth, int charWidth, int ascent) {
    const int size = ascent;
    const auto entryWidth = [&](SignalValue v) {
        return size + 4 + charWidth * static_cast<int>(valueSpellings[v].name.size()) + legendGap;
    };
    int x = windowWidth;
    for (const SignalValue v : legendOrder)
        x -= entryWidth(v);
    const int baseline = 3 + ascent;
    std::vector<LegendEntry> entries;
    for (const SignalValue v : legendOrder) {
        entries.push_back({v, valueSpellings[v].name, x, baseline - size + 1, size, x + size + 4, baseline});
        x += entryWidth(v);
    }
    return entries;
}

void drawLegend(Windex &w) {
    for (const LegendEntry &e : legendLayout(w.xPixels, w.charWidth(), w.fontAscent())) {
        w.drawPixelSwatch(e.value, e.swatchX, e.swatchY, e.swatchSize, e.swatchSize - 1);
        w.drawPixelText(e.textX, e.baseline, std::string(e.name));
    }
}

std::string hexReadout(const SignalValue *bits, int n) {
    std::string text;
    for (int nibble = 0; nibble + 4 <= n; nibble += 4) {
        unsigned value = 0;
        bool anyX = false, anyU = false, anyZ = false;
        for (int k = nibble; k < nibble + 4; ++k) {
            value = value << 1 | (bits[k] == ONE ? 1u : 0u);
            anyX = anyX || bits[k] == XXX;
            anyU = anyU || bits[k] == UNINITIALIZED;
            anyZ = anyZ || bits[k] == HIZ || !isSignalValue(bits[k]);
        }
        text += anyX   ? valueLetter(XXX)
                : anyU ? valueLetter(UNINITIALIZED)
                : anyZ ? valueLetter(HIZ)
                       : hexDigits[value];
    }
    return text;
}

ReadoutPlace readoutPlace(int x, int y, int w, int h, bool wide, int characters, int charWidth, int ascent,
                          int descent) {
    const int textW = characters * charWidth, textH = ascent + descent;
    if (wide) // right of the pane, centred on its height
        return {x + w + readoutGap, y + (h - textH) / 2 + ascent, textW, textH};
    // below the pane, centred on its width
    return {x + (w - textW) / 2, y + h + readoutGap + ascent, textW, textH};
}
