#include "disc/SafeFileName.h"

namespace disc {

namespace {

bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

bool IsUtf8Continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

} // namespace

std::string SafeFileName(const std::string& title) {
    std::string name;
    for (const char c : title) {
        if (IsControl(static_cast<unsigned char>(c))) {
            continue;
        }
        if (name.empty() && (c == '.' || c == '-' || c == ' ')) {
            continue; // a hidden file, or one that reads as an option
        }
        name += c == '/' || c == '\\' ? '_' : c;
    }
    if (name.size() > kMaxNameBytes) {
        std::size_t cut = kMaxNameBytes;
        while (cut > 0 && IsUtf8Continuation(static_cast<unsigned char>(name[cut]))) {
            --cut;
        }
        name.resize(cut);
    }
    while (!name.empty() && (name.back() == ' ' || name.back() == '.')) {
        name.pop_back();
    }
    return name;
}

} // namespace disc
