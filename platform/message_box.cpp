#include "platform/message_box.h"

#include <cstdio>
#include <mutex>

namespace plat {
namespace {

struct MessageLog {
    std::mutex mutex;
    std::vector<MessageRecord> records;
};

MessageLog& log() {
    static MessageLog instance;
    return instance;
}

const char* icon_name(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::error: return "error";
        case MessageIcon::question: return "question";
        case MessageIcon::warning: return "warning";
        case MessageIcon::information: return "information";
        default: return "message";
    }
}

}  // namespace

void show_message_box(std::string_view owner, std::string_view text, std::string_view caption, MessageIcon icon) {
    MessageLog& l = log();
    std::lock_guard lock(l.mutex);
    l.records.push_back({std::string(owner), std::string(caption), std::string(text), icon});
    std::fprintf(stderr, "[%s] %.*s: %.*s\n", icon_name(icon), static_cast<int>(caption.size()), caption.data(),
                 static_cast<int>(text.size()), text.data());
}

std::vector<MessageRecord> message_log() {
    MessageLog& l = log();
    std::lock_guard lock(l.mutex);
    return l.records;
}

void clear_message_log() {
    MessageLog& l = log();
    std::lock_guard lock(l.mutex);
    l.records.clear();
}

}  // namespace plat
