#include "platform/widgets/QtDesktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QUrl>
#include <cstdio>
#include <unistd.h>

namespace sorvik {

MessageResult QtDesktop::ShowMessage(const QString& text, const QString& title,
                                     MessageButtons buttons) {
    QMessageBox box(QMessageBox::Warning, title, text,
                    buttons == MessageButtons::Ok ? QMessageBox::Ok
                                                  : QMessageBox::Ok | QMessageBox::Cancel);
    box.setTextFormat(Qt::PlainText);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    return box.exec() == QMessageBox::Ok ? MessageResult::Ok : MessageResult::Cancel;
}

QSize QtDesktop::ScreenSize() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

bool QtDesktop::OpenUrl(const QString& url) { return QDesktopServices::openUrl(QUrl(url)); }

bool QtDesktop::StartProgram(const QString& path, const QStringList& arguments) {
    return QProcess::startDetached(path, arguments);
}

void QtDesktop::EndProgram(int code) {
    if (beforeEnd) beforeEnd();
    std::fflush(stdout);
    std::fflush(stderr);
    ::_exit(code);
}

QString QtDesktop::ProgramFolder() const { return QCoreApplication::applicationDirPath(); }

}  // namespace sorvik
