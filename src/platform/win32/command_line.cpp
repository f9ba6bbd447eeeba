#include "platform/win32/command_line.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

struct CommandLine {
    std::mutex mutex;
    std::u16string text;
};

CommandLine& lf_commandLine() {
    static auto* commandLine = new CommandLine();  // never destroyed: any thread may ask for it
    return *commandLine;
}

// The Windows rules: 2n backslashes before a quote give n backslashes and the quote toggles
// quoting; 2n+1 give n backslashes and a literal quote; backslashes elsewhere are literal.
std::vector<std::u16string> lf_split(std::u16string_view text) {
    std::vector<std::u16string> arguments;
    std::size_t i = 0;
    while (true) {
        while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
            ++i;
        if (i >= text.size()) break;
        std::u16string argument;
        bool quoted = false;
        while (i < text.size() && (quoted || (text[i] != u' ' && text[i] != u'\t'))) {
            std::size_t backslashes = 0;
            while (i < text.size() && text[i] == u'\\') {
                ++backslashes;
                ++i;
            }
            if (i < text.size() && text[i] == u'"') {
                argument.append(backslashes / 2, u'\\');
                if (backslashes % 2 == 1) {
                    argument.push_back(u'"');
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                argument.append(backslashes, u'\\');
                if (backslashes == 0 && i < text.size()) argument.push_back(text[i++]);
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

}  // namespace

LPWSTR GetCommandLineW() {
    // The text lives as long as the process; a later setCommandLine never frees an earlier one.
    static thread_local std::u16string copy;
    CommandLine& commandLine = lf_commandLine();
    std::lock_guard lock(commandLine.mutex);
    copy = commandLine.text;
    return copy.data();
}

LPWSTR* CommandLineToArgvW(LPCWSTR commandLine, INT* count) {
    if (count == nullptr) return nullptr;
    const std::vector<std::u16string> arguments = lf_split(commandLine == nullptr ? u"" : commandLine);
    std::size_t textUnits = 0;
    for (const std::u16string& argument : arguments)
        textUnits += argument.size() + 1;
    const std::size_t pointerBytes = (arguments.size() + 1) * sizeof(LPWSTR);
    auto* block = static_cast<unsigned char*>(std::malloc(pointerBytes + textUnits * sizeof(char16_t)));
    if (block == nullptr) return nullptr;
    auto* pointers = reinterpret_cast<LPWSTR*>(block);
    auto* texts = reinterpret_cast<char16_t*>(block + pointerBytes);
    for (std::size_t a = 0; a < arguments.size(); ++a) {
        pointers[a] = texts;
        std::memcpy(texts, arguments[a].c_str(), (arguments[a].size() + 1) * sizeof(char16_t));
        texts += arguments[a].size() + 1;
    }
    pointers[arguments.size()] = nullptr;
    *count = static_cast<INT>(arguments.size());
    return pointers;
}

HLOCAL LocalFree(HLOCAL memory) {
    std::free(memory);
    return nullptr;
}

namespace standin {

void setCommandLine(std::u16string commandLine) {
    CommandLine& line = lf_commandLine();
    std::lock_guard lock(line.mutex);
    line.text = std::move(commandLine);
}

std::u16string quoteArgument(std::u16string_view argument) {
    if (!argument.empty() && argument.find_first_of(u" \t\"") == std::u16string_view::npos)
        return std::u16string(argument);
    std::u16string quoted = u"\"";
    std::size_t backslashes = 0;
    for (char16_t c : argument) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote itself escaped.
        quoted.append(c == u'"' ? backslashes * 2 + 1 : backslashes, u'\\');
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(backslashes * 2, u'\\');  // before the closing quote
    quoted.push_back(u'"');
    return quoted;
}

}  // namespace standin
