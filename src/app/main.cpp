// sorvik: the table client, started by the lobby with a 13-field command line.

#include <QApplication>
#include <QSocketNotifier>
#include <QStringList>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/QtEventLoop.h"
#include "platform/QtStreamSocket.h"
#include "platform/UnixLobbyLink.h"
#include "platform/widgets/QtDesktop.h"
#include "session/TableClient.h"
#include "sound/QtSoundDevice.h"
#include "table/PictureLibrary.h"
#include "table/MainForm.h"

namespace {

int signalPipe[2] = {-1, -1};

void OnTerminate(int) {
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &byte, 1);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Sorvik"));
    app.setQuitOnLastWindowClosed(false);

    sorvik::QtEventLoop loop;
    sorvik::QtStreamSocket socket;
    sorvik::UnixLobbyLink lobby;
    sorvik::QtDesktop desktop;
    desktop.beforeEnd = [&lobby] { lobby.Unregister(); };

    sorvik::QtSoundDevice sound;
    sorvik::PictureLibrary pictures;
    sorvik::TableClient client({loop, socket, lobby, desktop, sound, &pictures});
    loop.beforeSleep = [&client] { client.form().repaint(); };

    // A termination request closes the table window, so the findable window goes with it.
    ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe);
    QSocketNotifier terminate(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&terminate, &QSocketNotifier::activated, [&client] { client.Unload(); });
    std::signal(SIGTERM, OnTerminate);
    std::signal(SIGINT, OnTerminate);

    // The lobby passes the fields as one argument; any split is joined with single spaces.
    const QStringList args = app.arguments().mid(1);
    client.Load(args.join(' '));
    return app.exec();
}
