#include "tools/cli/RoffRenderer.h"

#include <algorithm>
#include <array>
#include <utility>

namespace cli {

namespace {

constexpr char kUnbreakableSpace = '\x01';
constexpr char kJoinNext = '\x02'; // "\c": the next text goes on without a space
constexpr std::size_t kHeadingIndent = 3;
constexpr std::size_t kTextIndent = 7;
constexpr std::size_t kTagWidth = 8; // a tagged paragraph's body and an .RS block go this far in

// The special characters the page may name as \(xx or \[xx].
std::string_view SpecialCharacter(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 10> kNames{{
        {"em", "--"},
        {"en", "-"},
        {"aq", "'"},
        {"dq", "\""},
        {"lq", "\""},
        {"rq", "\""},
        {"oq", "'"},
        {"cq", "'"},
        {"bu", "*"},
        {"co", "(C)"},
    }};
    const auto* found = std::find_if(kNames.begin(), kNames.end(),
                                     [name](const auto& entry) { return entry.first == name; });
    return found == kNames.end() ? "?" : found->second;
}

// The arguments of a request: words split at spaces, "quoted words" kept
// whole ("" inside quotes is one quote); escapes are resolved afterwards.
std::vector<std::string> Arguments(std::string_view text) {
    std::vector<std::string> args;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        std::string arg;
        const bool quoted = text[i] == '"';
        i += quoted ? 1 : 0;
        for (; i < text.size(); ++i) {
            if (quoted && text[i] == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    arg += text[++i];
                    continue;
                }
                ++i;
                break;
            }
            if (!quoted && text[i] == ' ') {
                break;
            }
            if (text[i] == '\\' && i + 1 < text.size()) {
                arg += text[i++];
            }
            arg += text[i];
        }
        args.push_back(RoffUnescape(arg));
    }
    return args;
}

std::string Joined(const std::vector<std::string>& args, std::string_view separator) {
    std::string text;
    for (const std::string& arg : args) {
        text += (text.empty() ? "" : std::string(separator)) + arg;
    }
    return text;
}

} // namespace

std::string RoffUnescape(std::string_view text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            plain += text[i];
            continue;
        }
        const char code = text[++i];
        const std::string_view rest = text.substr(i + 1);
        if (code == '"') {
            break; // a comment to the line's end
        }
        if (code == 'f') { // a font change: \fB, \f(CW, \f[CR]
            const std::size_t length = rest.starts_with('(')   ? 3
                                       : rest.starts_with('[') ? rest.find(']') + 1
                                                               : 1;
            i += std::min(length, rest.size());
        } else if (code == '(' && rest.size() >= 2) {
            plain += SpecialCharacter(rest.substr(0, 2));
            i += 2;
        } else if (code == '[' && rest.find(']') != std::string_view::npos) {
            plain += SpecialCharacter(rest.substr(0, rest.find(']')));
            i += rest.find(']') + 1;
        } else if (code == ' ' || code == '~') {
            plain += kUnbreakableSpace;
        } else if (code == 'e' || code == '\\') {
            plain += '\\';
        } else if (code == 'c') {
            plain += kJoinNext;
        } else if (code != '&' && code != '|' && code != '^') {
            plain += code; // \- and \. and the like stand for their character
        }
    }
    return plain;
}

void RoffRenderer::Line(std::string_view line) {
    if (line.starts_with(".\\\"") || line.starts_with("'\\\"")) {
        return;
    }
    if (line.starts_with('.') || line.starts_with('\'')) {
        line.remove_prefix(1);
        line.remove_prefix(std::min(line.find_first_not_of(' '), line.size()));
        const std::size_t end = std::min(line.find(' '), line.size());
        Request(line.substr(0, end), Arguments(line.substr(end)));
    } else if (line.empty() && m_fill) {
        Break();
        m_out += '\n';
    } else {
        Words(RoffUnescape(line));
    }
}

std::string RoffRenderer::Text() {
    Break();
    while (m_out.ends_with("\n\n")) {
        m_out.pop_back();
    }
    return m_out;
}

void RoffRenderer::Request(std::string_view name, const std::vector<std::string>& args) {
    if (name == "SH" || name == "SS") {
        Paragraph(0);
        m_out += std::string(name == "SS" ? kHeadingIndent : 0, ' ') + Joined(args, " ") + "\n";
        m_base = m_indent = kTextIndent;
    } else if (name == "PP" || name == "P" || name == "LP") {
        Paragraph(m_base);
    } else if (name == "TP" || name == "IP") {
        Paragraph(m_base);
        m_tagIndent = m_base + kTagWidth;
        m_tagNext = name == "TP";
        if (name == "IP") {
            Words(args.empty() ? "" : args[0]);
            Break();
            m_indent = m_tagIndent;
        }
    } else if (name == "RS") {
        Break();
        m_bases.push_back(m_base);
        m_base += kTagWidth;
        m_indent = m_base;
    } else if (name == "RE" && !m_bases.empty()) {
        Break();
        m_base = m_indent = m_bases.back();
        m_bases.pop_back();
    } else if (name == "EX" || name == "nf" || name == "EE" || name == "fi") {
        Break();
        m_fill = name == "EE" || name == "fi";
    } else if (name == "br" || name == "sp") {
        Break();
        m_out += name == "sp" ? "\n" : "";
    } else if (name == "B" || name == "I" || name == "SM" || name == "SB") {
        Words(Joined(args, " "));
    } else if (name.size() == 2 &&
               std::string_view("BIR").find(name[0]) != std::string_view::npos &&
               std::string_view("BIR").find(name[1]) != std::string_view::npos) {
        Words(Joined(args, "")); // .BR, .IR, .RB, ...: alternating fonts, no spaces between
    }
}

void RoffRenderer::Words(std::string_view text) {
    if (m_tagNext || !m_fill) {
        std::string line = std::string(m_tagNext ? m_base : m_indent, ' ') + std::string(text);
        std::replace(line.begin(), line.end(), kUnbreakableSpace, ' ');
        std::erase(line, kJoinNext); // a line of its own joins nothing
        m_out += line + "\n";
        m_indent = m_tagNext ? m_tagIndent : m_indent;
        m_tagNext = false;
        return;
    }
    const bool joinFirst = std::exchange(m_joinNext, text.ends_with(kJoinNext));
    text = text.substr(0, text.find(kJoinNext));
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        if (end > start && start == 0 && joinFirst && !m_words.empty()) {
            m_words.back() += text.substr(start, end - start);
        } else if (end > start) {
            m_words.emplace_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
}

void RoffRenderer::Break() {
    std::string line;
    const auto emit = [this, &line] {
        std::replace(line.begin(), line.end(), kUnbreakableSpace, ' ');
        m_out += std::string(m_indent, ' ') + line + "\n";
        line.clear();
    };
    for (const std::string& word : m_words) {
        if (!line.empty() && m_indent + line.size() + 1 + word.size() > m_width) {
            emit();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) {
        emit();
    }
    m_words.clear();
}

void RoffRenderer::Paragraph(std::size_t indent) {
    Break();
    if (!m_out.empty() && !m_out.ends_with("\n\n")) {
        m_out += '\n';
    }
    m_indent = indent;
    m_tagNext = false;
}

} // namespace cli
