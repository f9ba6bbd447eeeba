#pragma once
// A table of interned code texts (airline or model codes). Each distinct text is stored once and
// named by its 16-bit position, the CodeIndex; positions never change while the process runs.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace mrw {

// Position of a code text in its table; 0 is the empty code (no airline, operator or model).
using CodeIndex = std::uint16_t;

// Appended from several threads (the main worker, the liveries-scan workers, the Traffic Reader) and
// read everywhere: every member takes the table's reader-writer lock. Texts live in a deque, which
// never moves stored elements when it grows, so a reference returned by text() stays valid for the
// life of the process.
class CodeTable {
  public:
    // CodeIndex is 16 bits wide: a table never holds more codes than this.
    static constexpr std::size_t kMaxCodes = 65536;

    // `name` only names the table in its log line ("airline", "model").
    explicit CodeTable(std::string name) : name(std::move(name)) {}
    CodeTable(const CodeTable&) = delete;
    CodeTable& operator=(const CodeTable&) = delete;

    // The index of a text already in the table (exact bytes, case-sensitive).
    std::optional<CodeIndex> find(std::string_view code) const;
    // The index of the text, appending it when new. A full table refuses a new text: it returns 0
    // and writes one error line for the life of the table.
    CodeIndex intern(std::string_view code);
    // As intern, for a text from the network: a new text is appended only while fewer than
    // kMaxNetworkCodes came this way, so that made-up codes cannot fill the table the databases and
    // liveries need. Beyond that a new text gives 0, with one error line for the life of the table.
    CodeIndex internFromNetwork(std::string_view code);
    static constexpr std::size_t kMaxNetworkCodes = 4096;
    // The text of an index; the empty text for an index the table does not hold.
    const std::string& text(CodeIndex index) const;
    std::size_t size() const;

    // Set by the aircraft database reader once it has seeded the table.
    bool isLoaded() const { return loaded.load(); }
    void setLoaded() { loaded.store(true); }

    // Empties the table and clears `loaded` and the count of network codes. Only for tests: the program never
    // clears a table.
    void resetForTests();

  private:
    CodeIndex internText(std::string_view code, bool fromNetwork);

    mutable std::shared_mutex mutex;
    std::deque<std::string> texts;                              // texts[i] is the code of index i
    std::unordered_map<std::string_view, CodeIndex> positions;  // views into `texts`
    std::atomic<bool> loaded{false};
    std::atomic<bool> fullReported{false};
    std::size_t networkCodes = 0;  // mutex
    std::atomic<bool> networkLimitReported{false};
    std::string name;
};

}  // namespace mrw
