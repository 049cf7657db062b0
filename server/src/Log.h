#pragma once
// Structured log lines, one per event: "t=12.345 event=name key=value ...", on standard
// error by default. Values with spaces, quotes or '=' are quoted. Keys and passwords are
// never passed here.

#include <QElapsedTimer>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>

namespace sorvik::server {

struct LogValue {
    std::string text;
    LogValue(const char* s) : text(s) {}
    LogValue(const std::string& s) : text(s) {}
    LogValue(bool b) : text(b ? "1" : "0") {}
    template <class T, class = std::enable_if_t<std::is_integral_v<T>>>
    LogValue(T v) : text(std::to_string(v)) {}
    LogValue(double v);
};

using LogField = std::pair<const char*, LogValue>;

class Logger {
public:
    Logger();
    // Where lines go; null writes to standard error.
    void SetSink(std::function<void(const std::string&)> sink) { sink_ = std::move(sink); }
    void SetQuiet(bool quiet) { quiet_ = quiet; }
    void Event(const char* event, std::initializer_list<LogField> fields = {});
    static std::string Quote(const std::string& value);

private:
    std::function<void(const std::string&)> sink_;
    QElapsedTimer clock_;
    bool quiet_ = false;
};

}  // namespace sorvik::server
