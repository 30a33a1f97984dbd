#pragma once

#include <QRegExp>
#include <QString>

// A result-page pattern bound to one page, searched with QRegExp's own rules.
//
// A minimal pattern such as "<h2><a href=\"([^\"]+)\".*/h2>" costs, for every opening it
// meets, the whole rest of the page when its tail ("/h2>") never follows, so a page full
// of openings takes quadratic time. Every match ends with the pattern's last letters, and
// where the pattern has an unbounded ".*" or ".+", every match ends where a match of its
// tail (the part after the last of them) ends. The search therefore runs over the page
// only up to the last end of both: the matches stay the same, and an opening after that
// point fails within the length of one tail instead of the rest of the page.
class PageRegExp
{
public:
    explicit PageRegExp(const QString& pattern, Qt::CaseSensitivity cs = Qt::CaseInsensitive,
                        bool minimal = true);
    PageRegExp(const PageRegExp&) = delete;
    PageRegExp& operator=(const PageRegExp&) = delete;

    // Binds the page to search. Costs one pass over the page at most.
    void setPage(const QString& page);

    // As QRegExp::indexIn over the bound page.
    int indexIn(int offset);
    int matchedLength() const { return m_last->matchedLength(); }
    QString cap(int n) const { return m_last->cap(n); }

    // Length of the text that is searched of the bound page.
    int searchLength() const { return m_text.size(); }

    // Plain-text searches with the letters compared as the patterns compare them under
    // 'cs'. 'what' must not be empty; -1 where it does not stand.
    // First place at or after 'from' where 'what' stands in 'text'.
    static int IndexOf(const QString& text, const QString& what, int from, Qt::CaseSensitivity cs);
    // Last place at or before 'from' where 'what' stands in 'text'.
    static int LastIndexOf(const QString& text, const QString& what, int from,
                           Qt::CaseSensitivity cs);

private:
    QRegExp m_rx;
    QString m_lead;     // letters every match starts with
    QRegExp m_anchored; // the pattern, anchored where a lead stands
    const QRegExp* m_last = &m_rx;
    QString m_suffix; // letters every match ends with
    bool m_reverseTail = false;
    QRegExp m_tailReversed; // the tail (the part after the last ".*" or ".+"), reversed
    QString m_page;
    QString m_text;
};
