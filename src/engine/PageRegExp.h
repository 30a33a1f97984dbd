#pragma once

#include <QRegExp>
#include <QString>

// A result-page pattern bound to one page, searched with QRegExp's own rules.
//
// A minimal pattern such as "<h2><a href=\"([^\"]+)\".*/h2>" costs, for every opening it
// meets, the whole rest of the page when its tail ("/h2>") never follows, so a page full
// of openings takes quadratic time. Every match of a pattern ends where its tail (the part
// after its last unbounded ".*" or ".+") matches, and the shortest match can always use
// the tail that starts last on the page. The search therefore runs over the page only up
// to the end of that last tail: the matches stay the same, and an opening after it fails
// within the length of one tail instead of the rest of the page.
class PageRegExp
{
public:
    explicit PageRegExp(const QString& pattern, Qt::CaseSensitivity cs = Qt::CaseInsensitive,
                        bool minimal = true);

    // Binds the page to search. Costs one pass over the page at most.
    void setPage(const QString& page);

    // As QRegExp::indexIn over the bound page.
    int indexIn(int offset);
    int matchedLength() const { return m_rx.matchedLength(); }
    QString cap(int n) const { return m_rx.cap(n); }

    // True when the pattern has a tail that bounds its search; false when the pattern
    // needs no bound (no unbounded gap) or has a form the analysis does not handle.
    bool isBounded() const { return m_bounded; }
    // Length of the text that is searched of the bound page.
    int searchLength() const { return m_text.size(); }

private:
    int lastIndexOfLead(const QString& page, int from) const;

    QRegExp m_rx;
    bool m_bounded = false;
    bool m_tailIsLiteral = false;
    QString m_tailLead; // literal text every tail match starts with
    QRegExp m_tailRx;   // the tail, anchored where the search starts
    QString m_text;
};
