#pragma once
// Shows the program's messages as Qt message boxes. On the user-interface
// thread the box is shown at once; a worker thread hands its question to the
// user-interface thread and waits for the answer, and posts a message that
// has OK alone without waiting (answered OK).

#include "util/IMessageBoxHost.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <string>

namespace window {

class QtMessageBoxHost final : public util::IMessageBoxHost {
public:
    // Construct on the user-interface thread, with its event loop running
    // whenever a worker asks.
    QtMessageBoxHost();

    // The window the boxes are centred over (null: none). User-interface
    // thread only.
    void SetOwner(QWidget* owner);

    int Show(const std::string& text, unsigned style) override;

private:
    int ShowHere(const std::string& text, unsigned style);

    QObject m_guiContext; // lives on the user-interface thread
    QPointer<QWidget> m_owner;
};

} // namespace window
