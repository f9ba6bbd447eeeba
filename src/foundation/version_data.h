#pragma once
// A three-part version number, from "major.minor.patch" or from a JSON object with "major",
// "minor" and "patch". 0.0.0 stands for no version.

#include <compare>
#include <string>
#include <string_view>

namespace mrw {

struct VersionData {
    int major = 0;
    int minor = 0;
    int patch = 0;

    VersionData() = default;
    VersionData(int ma, int mi, int pa) : major(ma), minor(mi), patch(pa) {}
    // Never throws: a text that is neither form is logged and gives 0.0.0.
    explicit VersionData(std::string_view text);

    std::string toString() const;

    friend bool operator==(const VersionData&, const VersionData&) = default;
    friend auto operator<=>(const VersionData&, const VersionData&) = default;
};

// The product's name: the window's class and title, and the name in the program's texts.
inline constexpr std::string_view kProductName = "Merrowvale";

// The program's own version.
extern const VersionData g_programVersion;

}  // namespace mrw
