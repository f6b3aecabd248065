#pragma once
// The recording-source selector (1002) as the source logic sees it.

#include "mixer/IRecordSourceSelector.h"

#include <QComboBox>

namespace window {

class ComboSourceSelector final : public IRecordSourceSelector {
public:
    explicit ComboSourceSelector(QComboBox& combo) : m_combo(combo) {}

    void Clear() override { m_combo.clear(); }
    void Add(const std::string& name) override { m_combo.addItem(QString::fromStdString(name)); }
    void Select(int index) override { m_combo.setCurrentIndex(index); }
    int Count() const override { return m_combo.count(); }
    int CurrentIndex() const override { return m_combo.currentIndex(); }

private:
    QComboBox& m_combo;
};

} // namespace window
