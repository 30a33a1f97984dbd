#include "Regex.h"

#include "PageRegExp.h"
#include "RankHub.h"

#include <QDebug>
#include <QRegExp>
#include <QStringList>
#include <QUrl>

#include <initializer_list>

namespace {

// Patterns of particular kinds of result link. Only the video and places texts are used;
// the others are kept for the engines' programming interfaces.
const QString googleVideoRegex =
    QStringLiteral("<div\\s+class=vresult>.*<a\\s+href=\\\"([^>\\\"]+)\\\".*");
const QString googlePlacesRegex =
    QStringLiteral("<h4\\s+class=[\"]?r[\"]?>\\s*<a\\s+href=\\\"([^>\\\"]+)\\\".*");
[[maybe_unused]] const QString GoogleApiRegex = QStringLiteral("\\\"url\\\":\\\"([^\\\\\"]+)\\\"");
[[maybe_unused]] const QString BingApiRegex = QStringLiteral("<web:Url>([^<]+)</web:Url>");
[[maybe_unused]] const QString YahooApiRegex =
    QStringLiteral("<result>.*<url>\\s*(.*)\\s*</url>\\s*</result>");

const char* const kFallbackPattern = "donot any proper regular expression";
const char* const kPrefixPattern = "(?:http://|https://|www.|http://www.|https://www.)?";
const char* const kGoogleImagesPattern = "http://[^?]*.google.(?:[^?])*/images.+q=";

QString RemovePrefixes(const QString& text)
{
    return QRegExp(QLatin1String(kPrefixPattern), Qt::CaseInsensitive).replaceIn(text, QString());
}

// The website as the links are compared with it.
QString SiteString(const QString& website)
{
    return RemovePrefixes(website.toLower().trimmed());
}

// Whether the Google images pattern matches anywhere in the link. Searched as it stands,
// a long link made of many "http://" without a '?' would cost its length for each of them.
bool ContainsGoogleImagesLink(const QString& link)
{
    // Every match ends with "q=".
    const int lastQ = link.lastIndexOf(QLatin1String("q="), -1, Qt::CaseInsensitive);
    if (lastQ < 0)
        return false;
    const QString text = link.left(lastQ + 2);
    QRegExp rx(QLatin1String("^(?:") + QLatin1String(kGoogleImagesPattern) + QLatin1Char(')'),
               Qt::CaseInsensitive);
    rx.setMinimal(true);
    const QString scheme = QStringLiteral("http://");
    int from = 0;
    for (;;) {
        const int at = PageRegExp::IndexOf(text, scheme, from, Qt::CaseInsensitive);
        if (at < 0)
            return false;
        if (rx.indexIn(text, at, QRegExp::CaretAtOffset) == at)
            return true;
        // A later start whose "[^?]*" begins before the next '?' can reach only what this
        // one could reach, so it fails too.
        const int question = text.indexOf(QLatin1Char('?'), at + scheme.size());
        if (question < 0)
            return false;
        from = qMax(at + 1, question - int(scheme.size()) + 1);
    }
}

bool IsEngineInternal(const QString& link)
{
    return link.contains(QLatin1String("maps.google")) || ContainsGoogleImagesLink(link) ||
           link.contains(QLatin1String("/products?q=")) ||
           link.contains(QLatin1String("/images?hl="));
}

// The links of the places or video blocks of a page that contain the site string. The
// whole page is scanned once per parse, however many places or video links it has.
class BlockScan
{
public:
    explicit BlockScan(const QString& pattern) : m_pattern(pattern) {}

    const QStringList& hits(const QString& page, const QString& site)
    {
        if (m_done || m_pattern.isEmpty())
            return m_hits;
        m_done = true;
        PageRegExp rx(m_pattern);
        rx.setPage(page);
        int index = 0;
        int at;
        while ((at = rx.indexIn(index)) >= 0) {
            const QString link = rx.cap(1);
            if (link.contains(site, Qt::CaseInsensitive))
                m_hits.append(link);
            index = at + qMax(rx.matchedLength(), 1);
        }
        return m_hits;
    }

private:
    QString m_pattern;
    bool m_done = false;
    QStringList m_hits;
};

QString SelectRegular(const QString& page, std::initializer_list<REGEXP_INDEX> candidates)
{
    RankHub* hub = RankHub::Current();
    if (!hub)
        return QLatin1String(kFallbackPattern);
    const QRegExp scheme(QStringLiteral("(http://|https://|ftp://)"), Qt::CaseInsensitive);
    const QString capped = page.left(Regex::MaxPageLength);
    for (REGEXP_INDEX index : candidates) {
        const QString pattern = hub->GetRegexp(index);
        PageRegExp rx(pattern);
        rx.setPage(capped);
        if (rx.indexIn(0) < 0)
            continue;
        if (scheme.indexIn(rx.cap(1)) == 0)
            return pattern;
    }
    return QLatin1String(kFallbackPattern);
}

} // namespace

QString SelectGoogleRegular(const QString& page)
{
    return SelectRegular(page, {REGEXP_GoogleResult5, REGEXP_GoogleResult4, REGEXP_GoogleResult3,
                                REGEXP_GoogleResult2, REGEXP_GoogleResult1});
}

QString SelectYahooRegular(const QString& page)
{
    return SelectRegular(page, {REGEXP_YahooResult2, REGEXP_YahooResult1});
}

QString SelectBingRegular(const QString& page)
{
    return SelectRegular(page, {REGEXP_BingResult2, REGEXP_BingResult1});
}

Regex::Regex(QObject* parent)
    : QObject(parent), m_bAolPattern2(false), m_bBingApiPattern(false), m_bGoogleApiPattern(false),
      m_bYahooJapanPattern(false), m_bYahooApiPattern(false)
{}

Regex::~Regex() = default;

void Regex::setAolPattern2(bool on)
{
    m_bAolPattern2 = on;
}

void Regex::setBingApiPattern(bool on)
{
    m_bBingApiPattern = on;
}

void Regex::setGoogleApiPattern(bool on)
{
    m_bGoogleApiPattern = on;
}

void Regex::setYahooJapanPattern(bool on)
{
    m_bYahooJapanPattern = on;
}

void Regex::setYahooApiPattern(bool on)
{
    m_bYahooApiPattern = on;
}

QList<QPair<int, QString>> Regex::getResultsMatch(EnuSearchEngineType engine, const QString& page,
                                                  const QString& website, RANK_REUSLT_TYPE& result)
{
    QString pattern;
    switch (engine) {
    case SE_Google:
        pattern = SelectGoogleRegular(page);
        break;
    case SE_Bing:
        pattern = SelectBingRegular(page);
        break;
    case SE_Yahoo:
        pattern = SelectYahooRegular(page);
        break;
    default:
        return {};
    }
    return getMatches(pattern, page, website, result);
}

QList<QPair<int, QString>> Regex::getMatches(QString pattern, QString page, const QString& website,
                                             RANK_REUSLT_TYPE& result)
{
    QList<QPair<int, QString>> entries;
    if (page.size() > MaxPageLength)
        page.truncate(MaxPageLength);

    PageRegExp rx(pattern);
    rx.setPage(page);
    const QString site = SiteString(website);
    BlockScan places(googlePlacesRegex);
    BlockScan videos(googleVideoRegex);

    int blockEntries = 0;
    const auto appendBlocks = [&](BlockScan& scan, int position) {
        for (const QString& link : scan.hits(page, site)) {
            if (blockEntries >= MaxEntries)
                return;
            entries.append(qMakePair(position, link));
            ++blockEntries;
        }
    };

    int position = 0;
    int index = 0;
    int at;
    while ((at = rx.indexIn(index)) >= 0) {
        ++position;
        QString link = QUrl::fromPercentEncoding(rx.cap(1).toUtf8());
        if (link.contains(QLatin1Char('&')))
            link.remove(QLatin1String("amp;"), Qt::CaseInsensitive);

        if (IsEngineInternal(link)) {
            if (!link.contains(site))
                --position;
        } else if (link.contains(QLatin1String("/search?q="))) {
            if (link.contains(QLatin1String("tbs=plcs"), Qt::CaseInsensitive))
                appendBlocks(places, position);
            else if (link.contains(QLatin1String("tbs=vid"), Qt::CaseInsensitive))
                appendBlocks(videos, position);
            else if (link.contains(QLatin1String("tbs=nws"), Qt::CaseInsensitive))
                --position;
        } else if (link.contains(site, Qt::CaseInsensitive)) {
            const QString bare = RemovePrefixes(link).toLower();
            bool rejected = false;
            const int found = bare.indexOf(site);
            const int after = found + int(site.size());
            if (found >= 0 && after < bare.size() && bare.at(after) == QLatin1Char('.'))
                rejected = true;
            const int slash = bare.indexOf(QLatin1Char('/'));
            if (slash >= 0) {
                const QString bareSection = bare.left(slash);
                const int siteSlash = site.indexOf(QLatin1Char('/'));
                const QString siteSection = siteSlash < 0 ? site : site.left(siteSlash);
                qDebug() << bareSection << "\n" << siteSection;
                if (!bareSection.contains(siteSection, Qt::CaseInsensitive))
                    rejected = true;
            }
            if (!rejected)
                entries.append(qMakePair(position, link));
        }
        // A pattern that matches an empty text must still move on.
        index = at + qMax(rx.matchedLength(), 1);
    }

    if (position == 0)
        result = RRT_NoResult;
    return entries;
}
