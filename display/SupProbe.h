// Super probes: a value pane over every lead tab of the first drawing.
#pragma once

struct SuperProbe {
    SuperProbe *link = nullptr;
    int signalIndex = 0;
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

class SuperProbeList {
public:
    SuperProbe *start = nullptr;

    SuperProbeList() = default;
    SuperProbeList(const SuperProbeList &) = delete;
    SuperProbeList &operator=(const SuperProbeList &) = delete;
    ~SuperProbeList();

    // Puts a new probe at the front.
    void addSuperProbe(int signalIndex, int x, int y, int w, int h);
    // Frees every probe.
    void clear();
};
