// The message box helper with the scripted host the other tests use, and the
// terminal host: its prompts, re-asking on bad input and the answer at the end of
// the input.
#include "util/MessageBox.h"
#include "tests/support/ScopedMessageBoxHost.h"
#include "tests/support/ScriptedMessageBox.h"
#include "util/TerminalMessageBox.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using testsupport::ScopedMessageBoxHost;
using testsupport::ScriptedMessageBox;

TEST(MessageBoxTest, TheTextIsShownAsItStandsByTheInnermostHost) {
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(util::ShowMessageBox("100% done, %s %n", util::MB_ICONINFORMATION), util::IDOK);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "100% done, %s %n\n") << "no host";

    ScriptedMessageBox outer({7});
    ScriptedMessageBox inner({6});
    ScopedMessageBoxHost outerInstalled(outer);
    {
        ScopedMessageBoxHost innerInstalled(inner);
        EXPECT_EQ(util::ShowMessageBox("inner %d", util::MB_ICONINFORMATION), util::IDYES);
    }
    EXPECT_EQ(util::ShowMessageBox("", util::MB_YESNO), util::IDNO);
    ASSERT_EQ(inner.ShownCount(), 1u);
    EXPECT_EQ(inner.ShownMessages()[0].text, "inner %d");
    EXPECT_EQ(inner.ShownMessages()[0].style, 64u);
    ASSERT_EQ(outer.ShownCount(), 1u);
    EXPECT_EQ(outer.ShownMessages()[0].text, "");
}

// Runs one host over `input` and collects what it printed.
class Terminal {
public:
    explicit Terminal(const std::string& input)
        : m_input(input), m_in(::fmemopen(m_input.data(), m_input.size(), "r")),
          m_out(::open_memstream(&m_buffer, &m_size)), m_host(m_in, m_out) {}
    ~Terminal() {
        std::fclose(m_in);
        std::fclose(m_out);
        std::free(m_buffer);
    }
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    util::TerminalMessageBox& Host() { return m_host; }
    std::string Output() {
        std::fflush(m_out);
        return std::string(m_buffer, m_size);
    }

private:
    std::string m_input;
    std::FILE* m_in = nullptr;
    char* m_buffer = nullptr;
    std::size_t m_size = 0;
    std::FILE* m_out = nullptr;
    util::TerminalMessageBox m_host;
};

// Each case: the input, then the answer to each (text, buttons) in turn.
TEST(TerminalMessageBoxTest, EachButtonSetTakesItsLettersAndEndOfInputIsHarmless) {
    struct Case {
        const char* input;
        std::vector<std::pair<unsigned, int>> shown;
    };
    const Case cases[] = {
        {"y\n", {{util::MB_ICONINFORMATION, util::IDOK}, {util::MB_YESNO, util::IDYES}}},
        {"o\nC\n  yes\nn\nc\nN\n",
         {{util::MB_OKCANCEL, util::IDOK},
          {util::MB_OKCANCEL, util::IDCANCEL},
          {util::MB_YESNO | util::MB_ICONQUESTION, util::IDYES},
          {util::MB_YESNO, util::IDNO},
          {util::MB_YESNOCANCEL, util::IDCANCEL},
          {util::MB_YESNOCANCEL, util::IDNO}}},
        {"",
         {{util::MB_OKCANCEL, util::IDCANCEL},
          {util::MB_YESNO, util::IDNO},
          {util::MB_YESNOCANCEL, util::IDCANCEL}}},
        {"y", {{util::MB_YESNO, util::IDYES}}},  // a last line without its newline
        {"x\n", {{util::MB_YESNO, util::IDNO}}}, // a bad line, then the end
    };
    for (const Case& c : cases) {
        Terminal terminal(c.input);
        for (const auto& [style, answer] : c.shown) {
            EXPECT_EQ(terminal.Host().Show("?", style), answer) << '"' << c.input << '"';
        }
    }
    Terminal plain("");
    plain.Host().Show("Disc is full", util::MB_ICONINFORMATION);
    EXPECT_EQ(plain.Output(), "Disc is full\n") << "printed without asking";
    Terminal asking("\nmaybe\nc\ny\n");
    EXPECT_EQ(asking.Host().Show("Delete the file?", util::MB_YESNO), util::IDYES);
    EXPECT_EQ(asking.Output(),
              "Delete the file?\n[y]es / [n]o? [y]es / [n]o? [y]es / [n]o? [y]es / [n]o? ");
}

} // namespace
