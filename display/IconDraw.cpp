// Drawing of one component: icon outline, label, leads and connection tabs.
#include "display/IconDraw.h"

#include "core/Ph2.h"
#include "display/Ph5.h"
#include "display/Window.h"

IconFrame iconFrame(int x, int y, int w, int h) {
    IconFrame f{};
    f.x = static_cast<float>(x);
    f.y = static_cast<float>(y);
    const float fw = static_cast<float>(w);
    const float fh = static_cast<float>(h);
    f.dxBlank = fw * 0.1f;
    f.dxTab = fw * 0.05f;
    f.dxLine = fw * 0.1f;
    f.dxComp = fw * 0.5f;
    f.dyBlank = fh * 0.1f;
    f.dyComp = fh * 0.5f;
    f.dySpace = (fh - 2.0f * f.dyBlank - f.dyComp) / 2.0f;
    f.xs = static_cast<int>(f.x + f.dxBlank + f.dxTab + f.dxLine);
    f.ys = static_cast<int>(f.y + f.dyBlank + f.dySpace);
    f.ws = static_cast<int>(f.dxComp);
    f.hs = static_cast<int>(f.dyComp);
    return f;
}

int iconX(const IconFrame &f, int v) {
    return static_cast<int>(static_cast<float>(f.ws) * static_cast<float>(v) / 1000.0f +
                            static_cast<float>(f.xs));
}

int iconY(const IconFrame &f, int v) {
    return static_cast<int>(static_cast<float>(f.hs) * static_cast<float>(v) / 1000.0f +
                            static_cast<float>(f.ys));
}

LeadRow leadRow(const IconFrame &f, int n, int k) {
    const int delta = f.hs / n;
    LeadRow row{};
    row.yc = f.ys + delta * (0.5 + k);
    row.yl = static_cast<int>(row.yc);
    row.tabHigh = static_cast<float>(delta * 0.2);
    return row;
}

namespace {

// One column of leads: where its tab boxes and lead lines start, and which
// list its tabs go to.  Input and output columns differ only in these and in
// whether a signal name is written before or after the tab box.
struct LeadColumn {
    float tabStart;
    float leadStart;
    TabList &tabs;
    bool nameFirst;
};

// Draws the outline: each part of n points is n - 1 segments.
void drawOutline(Windex &window, const IconFrame &f, const int *icon) {
    const int parts = icon[0];
    const int *point = icon + 1 + parts;
    for (int part = 0; part < parts; ++part) {
        const int n = icon[1 + part];
        for (int s = 1; s < n; ++s) {
            const int *a = point + 2 * (s - 1);
            window.drawLine(iconX(f, a[0]), iconY(f, a[1]), iconX(f, a[2]), iconY(f, a[3]));
        }
        point += 2 * n;
    }
}

// Draws the leads of one column, top to bottom; signalOfRow gives the signal
// of each row.
template <typename SignalOfRow>
void drawLeads(PhaseFive &p5, int cind, const IconFrame &f, const LeadColumn &column, int n,
               SignalOfRow signalOfRow) {
    Windex &window = *p5.windexPointer;
    const int leadX0 = static_cast<int>(column.leadStart);
    const int leadX1 = static_cast<int>(column.leadStart + f.dxLine);
    const int tabX = static_cast<int>(column.tabStart);
    const int tabCentre = static_cast<int>(column.tabStart + f.dxTab / 2.0f);
    const int tabWide = static_cast<int>(f.dxTab);
    for (int k = 0; k < n; ++k) {
        const LeadRow row = leadRow(f, n, k);
        const int signal = signalOfRow(k);
        const char *name = phaseTwo->signalNames[signal].c_str();
        window.drawLine(leadX0, row.yl, leadX1, row.yl);
        if (column.nameFirst && p5.labelLinesFlag)
            window.drawText(leadX0, row.yl, name);
        const int tabY = static_cast<int>(row.yc - row.tabHigh / 2.0f);
        const int tabHigh = static_cast<int>(row.tabHigh);
        window.drawRectangle(tabX, tabY, tabWide, tabHigh);
        column.tabs.addTab(cind, signal, tabCentre, row.yl);
        if (p5.superProbeCollect)
            p5.superProbeList.addSuperProbe(signal, tabX, tabY, tabWide, tabHigh);
        if (!column.nameFirst && p5.labelLinesFlag)
            window.drawText(leadX0, row.yl, name);
    }
}

} // namespace

void PhaseFive::iconDraw(int cind, const int *icon) {
    const ScreenTile &t = phaseTwo->tile[cind];
    const IconFrame f = iconFrame(t.x, t.y, t.w, t.h);
    drawOutline(*windexPointer, f, icon);
    if (labelGateFlag)
        // Cut at the tile's right edge: a long label must not run over its neighbour.
        windexPointer->drawTextWithin(f.xs, f.ys, phaseTwo->decal[cind].c_str(), t.x + t.w);
    if (!drawComponentLeadsFlag)
        return;

    // Inputs from the top: the control inputs from last to first, then the
    // data inputs from last to first, so data input 0 is the bottom lead.
    const int nc = phaseTwo->numberOfControlInputs[cind];
    const int nrIn = phaseTwo->numberOfDataInputs[cind] + nc;
    const int *control = phaseTwo->controlInputs[cind];
    const int *data = phaseTwo->dataInputs[cind];
    const float inTabStart = f.x + f.dxBlank;
    const LeadColumn inputs{inTabStart, inTabStart + f.dxTab, inTab, true};
    if (nrIn > 0)
        drawLeads(*this, cind, f, inputs, nrIn,
                  [&](int k) { return k < nc ? control[nc - 1 - k] : data[nrIn - 1 - k]; });

    // Outputs from the top: the last output first, output 0 at the bottom.
    const int nrOut = phaseTwo->numberOfOutputs[cind];
    const int *out = phaseTwo->outputs[cind];
    const float xo = f.x + f.dxBlank + f.dxTab + f.dxLine + f.dxComp;
    const LeadColumn outputs{xo + f.dxLine, xo, outTab, false};
    if (nrOut > 0)
        drawLeads(*this, cind, f, outputs, nrOut, [&](int k) { return out[nrOut - 1 - k]; });
}
