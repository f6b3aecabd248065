#include "util/TerminalMessageBox.h"

#include "util/MessageBox.h"

#include <array>
#include <cctype>
#include <string>

namespace util {

namespace {

constexpr unsigned kButtonMask = 0x0F;

// One button of a prompt: the letter that picks it and its answer.
struct Choice {
    char letter = 0;
    int answer = 0;
};

struct Prompt {
    const char* text = nullptr;
    std::array<Choice, 3> choices{};
    int atEnd = IDOK;
};

// The prompt for a button set; null text for a plain OK box.
Prompt PromptFor(unsigned style) {
    switch (style & kButtonMask) {
    case MB_OKCANCEL:
        return {"[o]k / [c]ancel? ", {{{'o', IDOK}, {'c', IDCANCEL}}}, IDCANCEL};
    case MB_YESNO:
        return {"[y]es / [n]o? ", {{{'y', IDYES}, {'n', IDNO}}}, IDNO};
    case MB_YESNOCANCEL:
        return {
            "[y]es / [n]o / [c]ancel? ", {{{'y', IDYES}, {'n', IDNO}, {'c', IDCANCEL}}}, IDCANCEL};
    default:
        return {};
    }
}

// Reads one line; false at the end of the input.
bool ReadLine(std::FILE* in, std::string& line) {
    line.clear();
    int c = 0;
    while ((c = std::fgetc(in)) != EOF && c != '\n') {
        line += static_cast<char>(c);
    }
    return c != EOF || !line.empty();
}

} // namespace

TerminalMessageBox::TerminalMessageBox(std::FILE* in, std::FILE* out) : m_in(in), m_out(out) {}

int TerminalMessageBox::Show(const std::string& text, unsigned style) {
    const std::lock_guard lock(m_mutex);
    std::fwrite(text.data(), 1, text.size(), m_out);
    std::fputc('\n', m_out);
    const Prompt prompt = PromptFor(style);
    if (prompt.text == nullptr) {
        std::fflush(m_out);
        return IDOK;
    }
    std::string line;
    for (;;) {
        std::fputs(prompt.text, m_out);
        std::fflush(m_out);
        if (!ReadLine(m_in, line)) {
            std::fputc('\n', m_out);
            return prompt.atEnd;
        }
        const std::size_t first = line.find_first_not_of(" \t\r");
        const char letter =
            first == std::string::npos
                ? '\0'
                : static_cast<char>(std::tolower(static_cast<unsigned char>(line[first])));
        for (const Choice& choice : prompt.choices) {
            if (choice.letter != '\0' && choice.letter == letter) {
                return choice.answer;
            }
        }
    }
}

} // namespace util
