#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>

#include "ClientHarness.h"
#include "E2eSupport.h"
#include "platform/Gbk.h"
#include "table/MainForm.h"
#include "table/WebPanel.h"

using namespace sorvik;
using namespace sorvik::test;

namespace {

// An HTTP server on loopback that answers every request with one fixed response.
struct PageServer {
    PageServer() {
        EXPECT_TRUE(server.listen(QHostAddress::LocalHost));
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* s = server.nextPendingConnection()) {
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    if (!s->readAll().contains("\r\n\r\n")) return;
                    ++requests;
                    s->write(response);
                    s->disconnectFromHost();
                });
                QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    void Answer(int status, const QByteArray& type, const QByteArray& body) {
        response = "HTTP/1.0 " + QByteArray::number(status) + " X\r\nContent-Type: " + type +
                   "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
    }
    QString Url() const { return QStringLiteral("http://127.0.0.1:%1/news").arg(server.serverPort()); }
    QTcpServer server;
    QByteArray response;
    int requests = 0;
};

struct NewsTable : ClientHarness {
    NewsTable() {
        EXPECT_TRUE(Start());
        Connect();
    }
    void LoginReply(const QString& address) {
        PacketFrame reply = ServerFrame(kLogin);
        reply[15] = 1;
        WriteFrameText(reply, 16, address);
        EXPECT_TRUE(Call([&] { client->DispatchFrame(reply); }));
    }
    WebPanel& web() { return *client->form().WebBrowser1; }
    // Lets the real event loop run until the panel has an answer.
    bool Settle(int before) { return WaitFor([&] { return answers > before; }, 10); }
    int answers = 0;
    void Count() {
        QObject::connect(&web(), &WebPanel::documentComplete, [this] { ++answers; });
        QObject::connect(&web(), &WebPanel::navigateError, [this] { ++answers; });
    }
};

}  // namespace

TEST(WebPanel, ThePageFromTheLoginReplyShowsOverTheBird) {
    PageServer pages;
    pages.Answer(200, "text/html; charset=gb2312",
                 QByteArray::fromStdString(gbk::Encode(QString::fromUtf8("<p>今日新闻</p><img src=\"file:///dev/zero\">"))));
    NewsTable h;
    h.Count();
    h.LoginReply(pages.Url());
    EXPECT_EQ(h.client->state().NewsUrl, pages.Url());
    EXPECT_TRUE(h.web().isVisibleTo(h.client->form().Pic1));
    ASSERT_TRUE(h.Settle(0));
    // The image stands as an empty placeholder: no local file was read for it.
    EXPECT_EQ(h.web().toPlainText().trimmed(), QString::fromUtf8("今日新闻") + QChar(QChar::ObjectReplacementCharacter));
    EXPECT_EQ(h.web().pos(), h.client->form().Bird->pos() + QPoint(2, 2));
    EXPECT_FALSE(h.client->WebFailed);
    // A reply without an address leaves the panel as it was.
    h.LoginReply("");
    EXPECT_TRUE(h.web().isVisibleTo(h.client->form().Pic1));
    EXPECT_EQ(pages.requests, 1);
}

TEST(WebPanel, AFailedPageHidesThePanelForGood) {
    PageServer pages;
    pages.Answer(404, "text/html", "<p>missing</p>");
    NewsTable h;
    h.Count();
    h.LoginReply(pages.Url());
    ASSERT_TRUE(h.Settle(0));
    EXPECT_FALSE(h.web().isVisibleTo(h.client->form().Pic1));
    EXPECT_TRUE(h.client->WebFailed);
    // A later page that loads is not shown any more.
    pages.Answer(200, "text/html", "<p>ok</p>");
    h.LoginReply(pages.Url());
    ASSERT_TRUE(h.Settle(1));
    EXPECT_FALSE(h.web().isVisibleTo(h.client->form().Pic1));
}

TEST(WebPanel, OnlyWebAddressesAreFetched) {
    for (const char* address : {"file:///etc/passwd", "ftp://127.0.0.1/x", "javascript:alert(1)", "news"}) {
        NewsTable h;
        h.Count();
        h.LoginReply(address);
        EXPECT_EQ(h.answers, 1) << address;  // failed at once, nothing fetched
        EXPECT_TRUE(h.client->WebFailed) << address;
        EXPECT_FALSE(h.web().isVisibleTo(h.client->form().Pic1)) << address;
    }
}
