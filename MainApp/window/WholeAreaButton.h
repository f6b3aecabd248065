#pragma once
// A radio button or check box that answers clicks anywhere in its rectangle,
// as a dialog's option controls do, not only on its box and caption: with an
// empty caption (no language file) the control is still usable.

#include <QPoint>

namespace window {

template <class Button> class WholeAreaButton final : public Button {
public:
    using Button::Button;

protected:
    bool hitButton(const QPoint& position) const override {
        return this->rect().contains(position);
    }
};

} // namespace window
