#pragma once

#include <QString>
#include <QUrl>

// The fixed addresses the editor's link commands open, and the mail links of the promotion
// window. Widget-free: nothing here opens anything.
class HelpLinks
{
public:
    static QUrl supportMail();
    static QUrl resellerMail();
    static QUrl website1();
    static QUrl website2();
    static QUrl website3();
    static QUrl facebookShare();
    static QUrl twitterShare();
    static QUrl facebookLike();
    static QUrl socialComments();
    static QUrl reviewPage();
    static QUrl channelPage();

    // The share-target site's root address, "http://<host>/".
    static QString shareTarget();

    // The reseller query, stored whole and already encoded.
    static const char ResellerQuery[];

    // "mailto:<address>?subject=<subject>&body=<body>" with subject and body trimmed and
    // percent-encoded as UTF-8: a space is "%20", a line break "%0A%0A", and every character
    // that would end or change a query part ("&", "#", "%", "+", "=", "?"…) is encoded, so the
    // decoded subject and body are the texts given.
    static QString mailLink(const QString &address, const QString &subject, const QString &body);

    // A link made by mailLink as a URL, without re-encoding.
    static QUrl toUrl(const QString &link);
};
