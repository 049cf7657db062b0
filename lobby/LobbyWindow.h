#pragma once
// The lobby stand-in's window: seats the player by starting the table client with the
// 13-field command line, posts the lobby's orders to the client's window, and logs every
// message in both directions (in the window and on standard output).

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "ClientCommandLine.h"
#include "platform/UnixLobbyLink.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QSocketNotifier;

namespace sorvik::lobby {

class LobbyWindow final : public QWidget {
public:
    LobbyWindow(const ClientFields& fields, QString clientPath);
    ~LobbyWindow() override;

    // Starts the client with the fields as currently edited; refused while one runs.
    void StartClient();
    // Posts `message` to the client's window and logs whether it was there.
    void PostOrder(uint32_t message, uint32_t wParam = 0);
    // Orders read from standard input, one per line; end of input leaves the lobby running.
    void ListenToStandardInput();
    // Ends the client (if it runs) and the program.
    void Quit();

    void Log(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ClientFields ReadFields() const;
    void RegisterAs(const QString& title);
    void OnMessage(uint32_t message, uint32_t wParam, uint32_t lParam);
    void ReadStandardInput();
    void RunOrder(const QString& order);
    void StopClient();
    QString TargetTitle() const;

    UnixLobbyLink link_;
    QProcess client_;
    QString clientPath_;
    QString registeredTitle_;
    bool registered_ = false;
    QString clientTitle_;  // the title the running client was given
    bool clientStarted_ = false;
    bool quitting_ = false;

    QLineEdit* edits_[kFieldCount] = {};  // the custom-titles entry stays null: a check box
    QCheckBox* customTitles_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    std::unique_ptr<QSocketNotifier> stdin_;
    QByteArray stdinPending_;
};

}  // namespace sorvik::lobby
