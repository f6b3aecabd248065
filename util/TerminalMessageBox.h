#pragma once
// Message boxes on a terminal: the text goes to an output stream and, when the
// style offers a choice, the answer is read from an input stream.

#include "util/IMessageBoxHost.h"

#include <cstdio>
#include <mutex>

namespace util {

class TerminalMessageBox final : public IMessageBoxHost {
public:
    // The streams must stay open while the host is installed.
    TerminalMessageBox(std::FILE* in, std::FILE* out);

    // MB_OK prints the text and answers IDOK without reading. MB_OKCANCEL,
    // MB_YESNO and MB_YESNOCANCEL print a prompt and read a line, asking again
    // until its first letter names a button; at the end of the input the
    // answer is the harmless one: IDCANCEL, or IDNO for MB_YESNO. Other
    // button sets are shown as MB_OK. Messages from several threads are
    // shown one after another.
    int Show(const std::string& text, unsigned style) override;

private:
    std::mutex m_mutex;
    std::FILE* m_in = nullptr;
    std::FILE* m_out = nullptr;
};

} // namespace util
