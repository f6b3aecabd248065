#include "components/quarnel/sg/DriveDiscovery.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <utility>

namespace quarnel {

namespace {

constexpr int kTypeCdDvd = 5;

// The n of "sr<n>", or -1 for any other name.
int DriveNumber(const std::string& name) {
    if (name.size() < 3 || name.compare(0, 2, "sr") != 0) {
        return -1;
    }
    int number = -1;
    const char* first = name.data() + 2;
    const char* last = name.data() + name.size();
    const auto [end, error] = std::from_chars(first, last, number);
    return error == std::errc() && end == last ? number : -1;
}

bool IsOptical(const std::filesystem::path& blockEntry) {
    std::ifstream in(blockEntry / "device" / "type");
    int type = -1;
    return static_cast<bool>(in >> type) && type == kTypeCdDvd;
}

} // namespace

std::vector<std::string> FindOpticalDrives(const std::filesystem::path& sysfsRoot) {
    std::error_code error;
    std::filesystem::path folder = sysfsRoot / "class" / "block";
    if (!std::filesystem::is_directory(folder, error)) {
        folder = sysfsRoot / "block";
    }
    std::vector<std::pair<int, std::string>> found;
    std::filesystem::directory_iterator entries(folder, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        const int number = DriveNumber(name);
        if (number >= 0 && IsOptical(entries->path())) {
            found.emplace_back(number, "/dev/" + name);
        }
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> nodes;
    nodes.reserve(found.size());
    for (auto& [number, node] : found) {
        nodes.push_back(std::move(node));
    }
    return nodes;
}

} // namespace quarnel
