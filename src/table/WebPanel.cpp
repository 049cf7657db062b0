#include "table/WebPanel.h"

#include <QImage>
#include <QNetworkReply>

#include "platform/Gbk.h"

namespace sorvik {

WebPanel::WebPanel(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);  // the table never follows a link itself
    setOpenExternalLinks(false);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::NoFocus);
    network_.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

void WebPanel::Navigate(const QString& address) {
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
        reply_->deleteLater();
        reply_ = nullptr;
    }
    address_ = QUrl(address, QUrl::StrictMode);
    const QString scheme = address_.scheme().toLower();
    if (!address_.isValid() || address_.host().isEmpty() || (scheme != "http" && scheme != "https")) {
        emit navigateError();
        return;
    }
    QNetworkRequest request(address_);
    request.setTransferTimeout(kTimeoutMs);
    request.setMaximumRedirectsAllowed(5);
    reply_ = network_.get(request);
    QNetworkReply* reply = reply_;
    connect(reply, &QNetworkReply::downloadProgress, this, [reply](qint64 received, qint64) {
        if (received > kPageLimit) reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        if (reply != reply_) return;
        reply_ = nullptr;
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->error() != QNetworkReply::NoError || status >= 400) {
            emit navigateError();
            return;
        }
        const QByteArray body = reply->readAll();
        if (body.size() > kPageLimit) {
            emit navigateError();
            return;
        }
        const QString text = DecodePage(body, reply->header(QNetworkRequest::ContentTypeHeader).toByteArray());
        if (reply->header(QNetworkRequest::ContentTypeHeader).toByteArray().toLower().startsWith("text/plain"))
            setPlainText(text);
        else
            setHtml(text);
        emit documentComplete();
    });
}

QVariant WebPanel::loadResource(int type, const QUrl&) {
    if (type == QTextDocument::ImageResource) {
        QImage blank(1, 1, QImage::Format_ARGB32);
        blank.fill(Qt::transparent);
        return blank;
    }
    return QString(QLatin1Char(' '));
}

QString DecodePage(const QByteArray& body, const QByteArray& contentType) {
    const QByteArray head = (contentType + ' ' + body.left(1024)).toLower();
    const qsizetype at = head.indexOf("charset");
    if (at >= 0) {
        const QByteArray rest = head.mid(at + 7, 16);
        if (rest.contains("gb")) return gbk::Decode(body.constData(), static_cast<size_t>(body.size()));
    }
    return QString::fromUtf8(body);
}

}  // namespace sorvik
