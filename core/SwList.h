// Keyboard bindings captured from switches and pulsers.
#pragma once

// One key binding: key keyChar drives signal signalSerialNumber of component
// componentNumber.
struct SwitchNode {
    SwitchNode *ptr = nullptr;
    int componentNumber = 0;
    int signalSerialNumber = 0;
    int switchSerialNumber = 0; // part of the binding record; add leaves it 0 and nothing reads it
    char keyChar = 0;

    // Writes nothing: bindings are shown through the arrays' dump instead.
    void print() const;
};

class SwitchList {
public:
    int numberOfSwitches = 0;
    SwitchNode *start = nullptr;
    SwitchNode *end = nullptr;

    SwitchList() = default;
    SwitchList(const SwitchList &) = delete;
    SwitchList &operator=(const SwitchList &) = delete;
    ~SwitchList();

    // Binds keyChar to the component captured next, driving serialNumber.
    // Call it just before registering that component.
    void add(int serialNumber, char keyChar);
    // Calls print on every binding.
    void print() const;
};
