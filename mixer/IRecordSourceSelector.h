#pragma once
// The recording-source selector as the source logic sees it: a list of names
// in a fixed order (never re-sorted) with one selected item.

#include <string>

class IRecordSourceSelector {
public:
    virtual ~IRecordSourceSelector() = default;
    virtual void Clear() = 0;
    // Appends `name` as the last item.
    virtual void Add(const std::string& name) = 0;
    virtual void Select(int index) = 0;
    virtual int Count() const = 0;
    // The selected item, or -1 when none is.
    virtual int CurrentIndex() const = 0;
};
