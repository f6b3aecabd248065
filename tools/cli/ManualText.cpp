#include "tools/cli/ManualText.h"

#include "tools/cli/RoffRenderer.h"

#include <algorithm>

namespace cli {

std::string ManualSection(std::string_view roff, std::string_view name, std::size_t width) {
    RoffRenderer renderer(width);
    bool inside = false;
    while (!roff.empty()) {
        const std::size_t end = std::min(roff.find('\n'), roff.size());
        const std::string_view line = roff.substr(0, end);
        roff.remove_prefix(std::min(end + 1, roff.size()));
        const bool heading = line.starts_with(".SS ") || line.starts_with(".SH ");
        if (heading && inside) {
            break;
        }
        if (heading && line.starts_with(".SS ") && RoffUnescape(line.substr(4)) == name) {
            inside = true;
        }
        if (inside) {
            renderer.Line(line);
        }
    }
    return inside ? renderer.Text() : std::string();
}

} // namespace cli
