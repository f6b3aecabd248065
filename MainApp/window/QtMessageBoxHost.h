#pragma once
// Shows the program's messages as Qt message boxes. On the user-interface
// thread the box is shown at once and answered before Show returns. A worker
// thread's box is shown without a modal loop of its own, so the windows stay
// usable while it is up: a question's worker waits for the answer, a message
// with OK alone is posted and the worker goes on.

#include "util/IMessageBoxHost.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace window {

class QtMessageBoxHost final : public util::IMessageBoxHost {
public:
    // Construct on the user-interface thread, with its event loop running
    // whenever a worker asks.
    QtMessageBoxHost();
    ~QtMessageBoxHost() override;
    QtMessageBoxHost(const QtMessageBoxHost&) = delete;
    QtMessageBoxHost& operator=(const QtMessageBoxHost&) = delete;

    // The window the boxes are centred over (null: none). User-interface
    // thread only.
    void SetOwner(QWidget* owner);

    // Answers every worker's question still open with Cancel, closes its box,
    // and from now on answers every question at once with Cancel. For the
    // program's end, while workers may still ask. User-interface thread only.
    void Close();

    int Show(const std::string& text, unsigned style) override;

private:
    struct Question;

    int ShowHere(const std::string& text, unsigned style);
    // User-interface thread: the worker's box, answered through `question`.
    void ShowForWorker(const std::shared_ptr<Question>& question, const std::string& text,
                       unsigned style);
    void Answer(const std::shared_ptr<Question>& question, int answer);

    QObject m_guiContext; // lives on the user-interface thread
    QPointer<QWidget> m_owner;
    std::mutex m_mutex; // guards m_closed and m_open
    bool m_closed = false;
    std::vector<std::shared_ptr<Question>> m_open;
};

} // namespace window
