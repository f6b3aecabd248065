// The terminal host: prompts per button set, re-asking on bad input, the
// answer at the end of the input, and whole messages from several threads.
#include "util/TerminalMessageBox.h"
#include "util/MessageBox.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace {

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

TEST(TerminalMessageBoxTest, PlainMessageIsPrintedWithoutReading) {
    Terminal terminal("y\n");
    EXPECT_EQ(terminal.Host().Show("Disc is full", util::MB_ICONINFORMATION), util::IDOK);
    EXPECT_EQ(terminal.Output(), "Disc is full\n");
    EXPECT_EQ(terminal.Host().Show("Sure?", util::MB_YESNO), util::IDYES) << "input untouched";
}

TEST(TerminalMessageBoxTest, EachButtonSetTakesItsLetters) {
    Terminal terminal("o\nC\n  yes\nn\nc\nN\n");
    EXPECT_EQ(terminal.Host().Show("a", util::MB_OKCANCEL), util::IDOK);
    EXPECT_EQ(terminal.Host().Show("b", util::MB_OKCANCEL), util::IDCANCEL);
    EXPECT_EQ(terminal.Host().Show("c", util::MB_YESNO | util::MB_ICONQUESTION), util::IDYES);
    EXPECT_EQ(terminal.Host().Show("d", util::MB_YESNO), util::IDNO);
    EXPECT_EQ(terminal.Host().Show("e", util::MB_YESNOCANCEL), util::IDCANCEL);
    EXPECT_EQ(terminal.Host().Show("f", util::MB_YESNOCANCEL), util::IDNO);
}

TEST(TerminalMessageBoxTest, AsksAgainUntilALetterFits) {
    Terminal terminal("\nmaybe\nc\ny\n");
    EXPECT_EQ(terminal.Host().Show("Delete the file?", util::MB_YESNO), util::IDYES);
    EXPECT_EQ(terminal.Output(),
              "Delete the file?\n[y]es / [n]o? [y]es / [n]o? [y]es / [n]o? [y]es / [n]o? ");
}

TEST(TerminalMessageBoxTest, EndOfInputGivesTheHarmlessAnswer) {
    {
        Terminal terminal("");
        EXPECT_EQ(terminal.Host().Show("a", util::MB_OKCANCEL), util::IDCANCEL);
        EXPECT_EQ(terminal.Host().Show("b", util::MB_YESNO), util::IDNO);
        EXPECT_EQ(terminal.Host().Show("c", util::MB_YESNOCANCEL), util::IDCANCEL);
    }
    Terminal unterminated("y"); // a last line without its newline still counts
    EXPECT_EQ(unterminated.Host().Show("Go?", util::MB_YESNO), util::IDYES);
    Terminal unanswered("x\n");
    EXPECT_EQ(unanswered.Host().Show("d", util::MB_YESNO), util::IDNO) << "bad line, then the end";
}

TEST(TerminalMessageBoxTest, MessagesFromThreadsStayWhole) {
    Terminal terminal("");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&terminal, t] {
            for (int i = 0; i < 100; ++i) {
                terminal.Host().Show(std::string(50, static_cast<char>('a' + t)), util::MB_OK);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    const std::string output = terminal.Output();
    ASSERT_EQ(output.size(), 4u * 100u * 51u);
    for (std::size_t line = 0; line < output.size(); line += 51) {
        EXPECT_EQ(output.substr(line, 51), std::string(50, output[line]) + "\n") << line;
    }
}

} // namespace
