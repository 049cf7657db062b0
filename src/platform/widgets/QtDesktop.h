#pragma once
#include <functional>

#include "platform/Desktop.h"

namespace sorvik {

class QtDesktop final : public Desktop {
public:
    MessageResult ShowMessage(const QString& text, const QString& title,
                              MessageButtons buttons) override;
    QSize ScreenSize() const override;
    bool OpenUrl(const QString& url) override;
    bool StartProgram(const QString& path, const QStringList& arguments) override;
    [[noreturn]] void EndProgram(int code) override;
    QString ProgramFolder() const override;

    // Runs just before the process ends (removes the findable window, for example).
    std::function<void()> beforeEnd;
};

}  // namespace sorvik
