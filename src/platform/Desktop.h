#pragma once
// Message boxes, the screen, the shell and the end of the process, behind one seam so the
// tests can answer for the user and watch the program end.

#include <QSize>
#include <QString>
#include <QStringList>

namespace sorvik {

enum class MessageButtons { Ok, OkCancel };
enum class MessageResult { Ok, Cancel };

class Desktop {
public:
    virtual ~Desktop() = default;
    virtual MessageResult ShowMessage(const QString& text, const QString& title,
                                      MessageButtons buttons) = 0;
    // The screen in pixels.
    virtual QSize ScreenSize() const = 0;
    virtual bool OpenUrl(const QString& url) = 0;
    virtual bool StartProgram(const QString& path, const QStringList& arguments) = 0;
    // Ends the process at once. Never returns.
    [[noreturn]] virtual void EndProgram(int code) = 0;
    // The program folder (the executable's folder).
    virtual QString ProgramFolder() const = 0;
};

}  // namespace sorvik
