// sorvik: the table client, started by the lobby with a 13-field command line.

#include <QApplication>
#include <QStringList>

#include "platform/QtEventLoop.h"
#include "platform/QtStreamSocket.h"
#include "platform/UnixLobbyLink.h"
#include "platform/widgets/QtDesktop.h"
#include "session/TableClient.h"
#include "table/MainForm.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Sorvik"));
    app.setQuitOnLastWindowClosed(false);

    sorvik::QtEventLoop loop;
    sorvik::QtStreamSocket socket;
    sorvik::UnixLobbyLink lobby;
    sorvik::QtDesktop desktop;
    desktop.beforeEnd = [&lobby] { lobby.Unregister(); };

    sorvik::TableClient client({loop, socket, lobby, desktop, nullptr});
    loop.beforeSleep = [&client] { client.form().repaint(); };

    // The lobby passes the fields as one argument; any split is joined with single spaces.
    const QStringList args = app.arguments().mid(1);
    client.Load(args.join(' '));
    return app.exec();
}
