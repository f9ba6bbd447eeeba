#pragma once
// What a simulator package's manifest.json tells about the package.

#include <string>

namespace mrw {

struct ManifestData {
    std::string title;
    std::string version;
    std::string manufacturer;
    std::string creator;
};

}  // namespace mrw
