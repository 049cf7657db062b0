#pragma once
// The table's small web panel (WebBrowser1): fetches one page over http or https and shows
// it in a plain text browser: no scripts, no plug-ins, nothing fetched beyond the page, and
// links go to the desktop's browser.

#include <QNetworkAccessManager>
#include <QTextBrowser>
#include <QUrl>

namespace sorvik {

class WebPanel : public QTextBrowser {
    Q_OBJECT
public:
    explicit WebPanel(QWidget* parent);
    // Starts loading `address`; an address that is not http or https fails at once.
    void Navigate(const QString& address);
    QUrl Address() const { return address_; }

    static constexpr qint64 kPageLimit = 512 * 1024;  // bytes; a larger page is an error
    static constexpr int kTimeoutMs = 15000;

protected:
    // Nothing beyond the page is loaded: no images, no style sheets, no local files. The
    // answer must not be empty, or the document reads local files itself.
    QVariant loadResource(int type, const QUrl& name) override;

signals:
    void documentComplete();
    void navigateError();

private:
    QNetworkAccessManager network_;
    QNetworkReply* reply_ = nullptr;
    QUrl address_;
};

// The text of a page: GB text when the page says so in its header or its first bytes,
// UTF-8 otherwise.
QString DecodePage(const QByteArray& body, const QByteArray& contentType);

}  // namespace sorvik
