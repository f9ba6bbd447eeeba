#pragma once
// A fixed-width code of exactly N characters 'A'-'Z' or '0'-'9' (airport, IATA, origin and
// destination codes), stored in N bytes without terminator. All bytes 0 is the empty code.

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include <fmt/format.h>

namespace mrw {

template <std::size_t N>
class FixedCode {
  public:
    constexpr FixedCode() = default;

    // Throws std::invalid_argument unless the text has exactly N letters or digits (a-z are upper-cased).
    explicit FixedCode(std::string_view text) {
        if (text.size() != N) throwInvalid(text);
        for (std::size_t i = 0; i < N; ++i) {
            char c = text[i];
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) throwInvalid(text);
            m_bytes[i] = c;
        }
    }

    bool empty() const { return m_bytes[0] == 0; }

    // The N characters, or N blanks for the empty code.
    std::string_view view() const {
        return empty() ? std::string_view(s_blanks.data(), N) : std::string_view(m_bytes.data(), N);
    }
    std::string str() const { return std::string(view()); }

    friend bool operator==(const FixedCode&, const FixedCode&) = default;
    friend std::strong_ordering operator<=>(const FixedCode& a, const FixedCode& b) {
        for (std::size_t i = 0; i < N; ++i) {
            const auto x = static_cast<unsigned char>(a.m_bytes[i]);
            const auto y = static_cast<unsigned char>(b.m_bytes[i]);
            if (x != y) return x <=> y;
        }
        return std::strong_ordering::equal;
    }
    friend bool operator==(const FixedCode& code, std::string_view text) { return code.view() == text; }

    // 64-bit FNV-1a over the text view, so the empty code hashes like N blanks.
    std::uint64_t hash() const {
        std::uint64_t h = 0xcbf29ce484222325ULL;
        for (char c : view()) {
            h ^= static_cast<unsigned char>(c);
            h *= 0x100000001b3ULL;
        }
        return h;
    }

  private:
    [[noreturn]] static void throwInvalid(std::string_view text) {
        throw std::invalid_argument(fmt::format("'{}' FixedCode: invalid string (length/charset)", text));
    }

    static constexpr std::array<char, N> s_blanks = [] {
        std::array<char, N> a{};
        a.fill(' ');
        return a;
    }();

    std::array<char, N> m_bytes{};
};

}  // namespace mrw

template <std::size_t N>
struct std::hash<mrw::FixedCode<N>> {
    std::size_t operator()(const mrw::FixedCode<N>& code) const noexcept {
        return static_cast<std::size_t>(code.hash());
    }
};

template <std::size_t N>
struct fmt::formatter<mrw::FixedCode<N>> : fmt::formatter<std::string_view> {
    template <typename Context>
    auto format(const mrw::FixedCode<N>& code, Context& ctx) const {
        return fmt::formatter<std::string_view>::format(code.view(), ctx);
    }
};
