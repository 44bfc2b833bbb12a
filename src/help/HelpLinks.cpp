#include "help/HelpLinks.h"

#include "document/StringUtilities.h"
#include "help/HelpSettings.h"

// The query of the reseller mail, character for character: only spaces and line breaks are
// encoded; each separator line is 62 "=".
const char HelpLinks::ResellerQuery[] =
    "subject=Affiliate/Partnership%20Enquiry&body=Hello,%0AI%20am%20interested%20in%20reseller%20"
    "/%20partner%20opportunities.%20My%20business%20name%20and%20contact%20information%20is%20as%"
    "20follows:%0A%0A==============================================================%0A%0A[**Pleas"
    "e%20provide%20your%20business%20name%20contact%20information%20here**]%0A%0A================"
    "==============================================%0A%0A%0AI%20am%20interested%20in%20following%"
    "20type%20of%20Partnership:%0A%0A[1.]%20I%20would%20like%20to%20become%20your%20affiliate%20a"
    "nd%20would%20like%20to%20earn%20commission%20by%20selling%20your%20Products.%0A%0A[and%20/%2"
    "0or]%0A%0A[2.]%20I%20would%20like%20to%20become%20your%20reseller%20and%20want%20to%20purcha"
    "se%20multiple%20licenses%20from%20you%20on%20discount%20pricing%20in%20order%20to%20earn%20p"
    "rofits%20by%20selling%20them%20to%20my%20clients/customers.%0A%0A[and%20/%20or]%0A%0A[3.]%20"
    "I%20am%20interested%20in%20advanced%20partnership%20options.%20(**Please%20Specify%20your%20"
    "partnership%20requirements**)%0A";

namespace {

QUrl strict(const QString &address)
{
    return QUrl(address, QUrl::StrictMode);
}

QString root(const char *host)
{
    return QStringLiteral("http://%1/").arg(QLatin1String(host));
}

// Percent-encodes UTF-8 text for a mailto query part (RFC 6068): unreserved characters and a
// few harmless marks stay; a line break becomes "%0A%0A" as the promotion texts always had.
QString encodeQueryPart(const QString &text)
{
    static const QByteArray keep = QByteArrayLiteral("-._~!$'()*,;:@/");
    QString out;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0)
            out += QStringLiteral("%0A%0A");
        out += QString::fromLatin1(lines.at(i).toUtf8().toPercentEncoding(keep));
    }
    return out;
}

} // namespace

QString HelpLinks::shareTarget()
{
    return root(HelpSettings::Website2Host);
}

QUrl HelpLinks::supportMail()
{
    return strict(QStringLiteral("mailto:%1").arg(QLatin1String(HelpSettings::SupportMail)));
}

QUrl HelpLinks::resellerMail()
{
    return strict(QStringLiteral("mailto:%1?%2").arg(QLatin1String(HelpSettings::ResellerMail), QLatin1String(ResellerQuery)));
}

QUrl HelpLinks::website1()
{
    return strict(root(HelpSettings::Website1Host));
}

QUrl HelpLinks::website2()
{
    return strict(shareTarget());
}

QUrl HelpLinks::website3()
{
    return strict(root(HelpSettings::Website3Host));
}

QUrl HelpLinks::facebookShare()
{
    return strict(QStringLiteral("http://%1/share.php?u=%2").arg(QLatin1String(HelpSettings::FacebookHost), shareTarget()));
}

QUrl HelpLinks::twitterShare()
{
    return strict(QStringLiteral("http://%1/intent/tweet?source=sharethiscom&url=%2")
                      .arg(QLatin1String(HelpSettings::TwitterHost), shareTarget()));
}

QUrl HelpLinks::facebookLike()
{
    return strict(QStringLiteral("https://%1/plugins/like.php?href=%2").arg(QLatin1String(HelpSettings::FacebookHost), shareTarget()));
}

QUrl HelpLinks::socialComments()
{
    return strict(shareTarget() + QLatin1String(HelpSettings::SocialCommentsPage));
}

QUrl HelpLinks::reviewPage()
{
    return strict(QStringLiteral("https://%1/r/%2/review").arg(QLatin1String(HelpSettings::ReviewHost),
                                                               QLatin1String(HelpSettings::ReviewPageId)));
}

QUrl HelpLinks::channelPage()
{
    return strict(QLatin1String(HelpSettings::ChannelAddress));
}

QString HelpLinks::mailLink(const QString &address, const QString &subject, const QString &body)
{
    return QStringLiteral("mailto:%1?subject=%2&body=%3")
        .arg(address, encodeQueryPart(Trim_Str(subject)), encodeQueryPart(Trim_Str(body)));
}

QUrl HelpLinks::toUrl(const QString &link)
{
    return QUrl::fromEncoded(link.toLatin1(), QUrl::StrictMode);
}
