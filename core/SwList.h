// Keyboard bindings captured from switches and pulsers.
#pragma once

struct SwitchNode {
    SwitchNode *ptr = nullptr;
    int componentNumber = 0;
    int signalSerialNumber = 0;
    int switchSerialNumber = 0;
    char keyChar = 0;

    void print() const;
};

class SwitchList {
public:
    int numberOfSwitches = 0;
    SwitchNode *start = nullptr;
    SwitchNode *end = nullptr;

    // Binds keyChar to the component captured next, driving serialNumber.
    void add(int serialNumber, char keyChar);
    void print() const;
};
