#pragma once
// Message boxes. A module's message box never blocks the panel: the host records each one in a log
// it can show and tests can read, and prints it to standard error.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// The icon values are Windows' own, so modules pass what they always passed.
enum class MessageIcon : std::uint32_t { none = 0, error = 0x10, question = 0x20, warning = 0x30, information = 0x40 };

struct MessageRecord {
    std::string owner;  // the window or module that raised it, "" when none
    std::string caption;
    std::string text;
    MessageIcon icon = MessageIcon::none;
};

// Records the box and answers as if OK had been pressed.
void show_message_box(std::string_view owner, std::string_view text, std::string_view caption, MessageIcon icon);

std::vector<MessageRecord> message_log();
void clear_message_log();

}  // namespace plat
