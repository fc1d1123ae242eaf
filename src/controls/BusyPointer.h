#pragma once

// Shows the busy (hourglass) pointer while it lives; the normal pointer comes back when it
// goes out of scope, on every path, errors included. Guards nest.
class BusyPointer {
public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};
