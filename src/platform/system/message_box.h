#pragma once
// The warning message box. There is no desktop to show it on: the text goes to stderr as a
// line, and a recorder lets tests read what would have been shown.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

inline constexpr int kMessageBoxOk = 1;  // IDOK

// Shows a warning with an OK button (no owner window); returns the button pressed.
int showWarningMessageBox(std::string_view text, std::string_view caption);

struct MessageBoxRecord {
    std::string text;
    std::string caption;
};

// While it lives, the message boxes are recorded instead of written to stderr. One at a time.
class MessageBoxRecorder {
  public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    std::vector<MessageBoxRecord> shown() const;
};

}  // namespace platform
