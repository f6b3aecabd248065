#pragma once
// A recording-source selector for tests: a plain list with a selection.

#include "mixer/IRecordSourceSelector.h"

#include <string>
#include <vector>

class ListSelector final : public IRecordSourceSelector {
public:
    void Clear() override {
        m_items.clear();
        m_selected = -1;
    }
    void Add(const std::string& name) override { m_items.push_back(name); }
    void Select(int index) override { m_selected = index; }
    int Count() const override { return static_cast<int>(m_items.size()); }
    int CurrentIndex() const override { return m_selected; }

    const std::vector<std::string>& Items() const { return m_items; }

private:
    std::vector<std::string> m_items;
    int m_selected = -1;
};
