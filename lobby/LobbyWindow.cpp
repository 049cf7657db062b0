#include "LobbyWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTime>
#include <QVBoxLayout>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "LobbyMessages.h"

namespace sorvik::lobby {
namespace {

constexpr int kCustomTitlesField = 10;  // 0-based index of field 11
constexpr qsizetype kLongestOrder = 256;

// A line longer than this without a newline is not an order; it is dropped.
constexpr qsizetype kStdinLineLimit = 4096;

QString Quoted(const QString& text) { return u'"' + text + u'"'; }

}  // namespace

LobbyWindow::LobbyWindow(const ClientFields& fields, QString clientPath)
    : clientPath_(std::move(clientPath)) {
    auto* form = new QFormLayout;
    const QStringList texts = FieldTexts(fields);
    for (int i = 0; i < kFieldCount; ++i) {
        const QString label = QString::number(i + 1) + ". " + FieldNames()[i];
        if (i == kCustomTitlesField) {
            customTitles_ = new QCheckBox(this);
            customTitles_->setChecked(fields.customTitles);
            form->addRow(label, customTitles_);
            continue;
        }
        edits_[i] = new QLineEdit(texts[i], this);
        form->addRow(label, edits_[i]);
    }
    edits_[1]->setEchoMode(QLineEdit::Password);
    edits_[9]->setEchoMode(QLineEdit::Password);

    auto* buttons = new QGridLayout;
    auto addButton = [this, buttons](const QString& text, int row, int column, auto action) {
        auto* button = new QPushButton(text, this);
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button, row, column);
    };
    addButton(QStringLiteral("入座"), 0, 0, [this] { StartClient(); });
    addButton(QStringLiteral("22 重新连接"), 0, 1, [this] { PostOrder(22); });
    addButton(QStringLiteral("771 状态查询并退出"), 1, 0, [this] { PostOrder(771); });
    addButton(QStringLiteral("1024 退出"), 1, 1, [this] { PostOrder(1024); });
    addButton(QStringLiteral("1125 状态查询"), 2, 0, [this] { PostOrder(1125); });

    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addLayout(buttons);
    left->addStretch();

    log_ = new QPlainTextEdit(this);
    log_->setReadOnly(true);
    log_->setMaximumBlockCount(10000);
    log_->setLineWrapMode(QPlainTextEdit::NoWrap);
    log_->setMinimumWidth(520);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(log_, 1);

    // The client's output goes to our standard error, so standard output carries only the log.
    client_.setProcessChannelMode(QProcess::MergedChannels);
    connect(&client_, &QProcess::readyReadStandardOutput, this, [this] {
        const QByteArray bytes = client_.readAllStandardOutput();
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
        std::fflush(stderr);
    });
    connect(&client_, &QProcess::started, this, [this] {
        Log(QStringLiteral("client started (pid %1)").arg(client_.processId()));
    });
    connect(&client_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            Log("client failed to start: " + client_.errorString());
        }
    });
    connect(&client_, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        if (status == QProcess::CrashExit) {
            Log(QStringLiteral("client ended by a signal"));
        } else {
            Log(QStringLiteral("client exited with code %1").arg(code));
        }
    });

    link_.onMessage = [this](uint32_t message, uint32_t wParam, uint32_t lParam) {
        OnMessage(message, wParam, lParam);
    };
    Log("lobby link folder " + link_.Folder());
    RegisterAs(LobbyWindowTitle(fields));
}

LobbyWindow::~LobbyWindow() {
    StopClient();
    link_.Unregister();
}

ClientFields LobbyWindow::ReadFields() const {
    ClientFields f;
    QString* texts[kFieldCount] = {&f.userName,     &f.loginKey,      &f.serverHost, &f.serverPort,
                                   &f.locationText, &f.proxyType,     &f.proxyHost,  &f.proxyPort,
                                   &f.proxyUser,    &f.proxyPassword, nullptr,       &f.lobbyTitle,
                                   &f.tableCaption};
    for (int i = 0; i < kFieldCount; ++i) {
        if (texts[i]) *texts[i] = edits_[i]->text();
    }
    f.customTitles = customTitles_->isChecked();
    return f;
}

void LobbyWindow::Log(const QString& text) {
    const QString line = QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz ")) + text;
    log_->appendPlainText(line);
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

void LobbyWindow::RegisterAs(const QString& title) {
    if (registered_ && title == registeredTitle_) return;
    setWindowTitle(title);
    registered_ = link_.Register(title);
    registeredTitle_ = title;
    if (registered_) {
        Log("registered as " + Quoted(title));
    } else {
        Log("could not register as " + Quoted(title) +
            " (another live window holds it, or the folder path is too long)");
    }
}

void LobbyWindow::OnMessage(uint32_t message, uint32_t wParam, uint32_t lParam) {
    Log("received " + DescribeReceived(message, wParam, lParam));
    if (message != kWmSysCommand) return;
    if (wParam == kScRestore) {
        showNormal();
        raise();
        activateWindow();
    } else if (wParam == kScMinimize) {
        showMinimized();
    }
}

QString LobbyWindow::TargetTitle() const {
    return clientStarted_ ? clientTitle_ : ClientWindowTitle(ReadFields());
}

void LobbyWindow::StartClient() {
    if (client_.state() != QProcess::NotRunning) {
        Log(QStringLiteral("client already running (pid %1)").arg(client_.processId()));
        return;
    }
    const ClientFields fields = ReadFields();
    if (const int bad = FieldWithTerminator(fields)) {
        Log(QStringLiteral("client not started: field %1 (%2) holds a \"$\"")
                .arg(bad)
                .arg(QString::fromLatin1(FieldNames()[bad - 1])));
        return;
    }
    // The client finds the lobby by the title these fields give it.
    RegisterAs(LobbyWindowTitle(fields));
    clientTitle_ = ClientWindowTitle(fields);
    clientStarted_ = true;
    Log("starting " + clientPath_ + " with " + MaskedClientCommandLine(fields));
    client_.start(clientPath_, {BuildClientCommandLine(fields)});
}

void LobbyWindow::PostOrder(uint32_t message, uint32_t wParam) {
    const QString title = TargetTitle();
    const QString order = DescribeOrder(message, wParam);
    if (link_.Post(title, message, wParam, 0)) {
        Log("sent " + order + " to " + Quoted(title));
    } else {
        Log("not sent " + order + ": no window " + Quoted(title));
    }
}

void LobbyWindow::ListenToStandardInput() {
    if (::fcntl(STDIN_FILENO, F_GETFD) < 0) return;  // no standard input at all
    stdin_ = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
    connect(stdin_.get(), &QSocketNotifier::activated, this, [this] { ReadStandardInput(); });
}

void LobbyWindow::ReadStandardInput() {
    char buffer[4096];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
    if (n <= 0) {
        // End of input: the window stays, and so does the lobby.
        stdin_->setEnabled(false);
        stdin_.release()->deleteLater();
        const QByteArray last = stdinPending_;
        stdinPending_.clear();
        if (!last.trimmed().isEmpty()) RunOrder(QString::fromUtf8(last).trimmed());
        Log(QStringLiteral("standard input closed"));
        return;
    }
    stdinPending_.append(buffer, n);
    qsizetype end;
    while (!quitting_ && (end = stdinPending_.indexOf('\n')) >= 0) {
        const QByteArray line = stdinPending_.left(end);
        stdinPending_.remove(0, end + 1);
        RunOrder(QString::fromUtf8(line).trimmed());
    }
    if (stdinPending_.size() > kStdinLineLimit) {
        stdinPending_.clear();
        Log(QStringLiteral("dropped an over-long line from standard input"));
    }
}

void LobbyWindow::RunOrder(const QString& order) {
    if (order.isEmpty() || quitting_) return;
    Log("order from stdin: " + order.left(kLongestOrder));
    const QString word = order.toLower();
    bool isNumber = false;
    const uint32_t code = order.toUInt(&isNumber);
    if (isNumber) {
        PostOrder(code);
    } else if (word == u"restore") {
        PostOrder(kWmSysCommand, kScRestore);
    } else if (word == u"minimise" || word == u"minimize") {
        PostOrder(kWmSysCommand, kScMinimize);
    } else if (word == u"find") {
        const QString title = TargetTitle();
        const bool found = link_.FindWindow(title);
        Log("client window " + Quoted(title) + (found ? " found" : " not found"));
    } else if (word == u"start") {
        StartClient();
    } else if (word == u"quit") {
        Quit();
    } else {
        Log(QStringLiteral("unknown order (use a message number such as 22, 771, 1024, 1125, "
                           "or restore, minimise, find, start, quit)"));
    }
}

void LobbyWindow::StopClient() {
    if (client_.state() == QProcess::NotRunning) return;
    Log(QStringLiteral("stopping the client (pid %1)").arg(client_.processId()));
    client_.terminate();
    if (!client_.waitForFinished(3000)) {
        client_.kill();
        client_.waitForFinished(1000);
    }
}

void LobbyWindow::Quit() {
    if (quitting_) return;
    quitting_ = true;
    StopClient();
    Log(QStringLiteral("lobby closing"));
    link_.Unregister();
    QCoreApplication::quit();
}

void LobbyWindow::closeEvent(QCloseEvent* event) {
    Quit();
    event->accept();
}

}  // namespace sorvik::lobby
