#include "Log.h"

#include <cstdio>

namespace sorvik::server {

LogValue::LogValue(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    text = buf;
}

Logger::Logger() { clock_.start(); }

std::string Logger::Quote(const std::string& value) {
    bool plain = !value.empty();
    for (unsigned char c : value)
        if (c <= ' ' || c == '"' || c == '=' || c == '\\' || c >= 0x7F) plain = false;
    if (plain) return value;
    std::string out = "\"";
    for (unsigned char c : value) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20 || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", c);
            out += buf;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

void Logger::Event(const char* event, std::initializer_list<LogField> fields) {
    if (quiet_) return;
    char head[48];
    std::snprintf(head, sizeof head, "t=%.3f event=", clock_.elapsed() / 1000.0);
    std::string line = head;
    line += event;
    for (const auto& [key, value] : fields) {
        line += ' ';
        line += key;
        line += '=';
        line += Quote(value.text);
    }
    if (sink_) {
        sink_(line);
    } else {
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fflush(stderr);
    }
}

}  // namespace sorvik::server
