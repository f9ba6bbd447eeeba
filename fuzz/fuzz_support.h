#pragma once
// What every harness shares: a temporary program folder (with its own data directories) that is
// the working folder for the whole run, and writing one input into a file of it.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace mrwfuzz {

// Made at the first call of the process; the same folder afterwards.
void enterProgramFolder();
// Writes the input into the file (folders made), replacing it.
void writeInput(const std::filesystem::path& file, const std::uint8_t* data, std::size_t size);
inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace mrwfuzz
