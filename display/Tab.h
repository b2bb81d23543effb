// Connection points registered while icons are drawn.
#pragma once

struct Tab {
    Tab *link = nullptr;
    int cmp = 0;
    int signalIndex = 0;
    int xc = 0;
    int yc = 0;
};

class TabList {
public:
    Tab *start = nullptr;

    TabList() = default;
    TabList(const TabList &) = delete;
    TabList &operator=(const TabList &) = delete;
    ~TabList();

    // Puts a new tab at the front.
    void addTab(int cmp, int signalIndex, int xc, int yc);
    // Frees every tab.
    void clear();
};
