#include "PageRegExp.h"

#include <QStringList>

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

// One top-level item of a pattern: an atom with its quantifier.
struct Item {
    enum Kind { Literal, Dot, Other };
    Kind kind = Other;
    QChar ch;      // the character of a literal
    int begin = 0; // span in the pattern text, quantifier included
    int end = 0;
    bool quantified = false;
    bool unbounded = false; // '*', '+' or "{n,}"
    bool mayBeEmpty = false;
};

bool IsOctal(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('7');
}

// Index just past the bracket expression that starts at 'at', or -1.
int SkipClass(const QString& p, int at)
{
    int i = at + 1;
    if (i < p.size() && p.at(i) == QLatin1Char('^'))
        ++i;
    if (i < p.size() && p.at(i) == QLatin1Char(']'))
        ++i;
    while (i < p.size() && p.at(i) != QLatin1Char(']')) {
        if (p.at(i) == QLatin1Char('\\'))
            ++i;
        ++i;
    }
    return i < p.size() ? i + 1 : -1;
}

// Index just past the escape that starts at 'at'.
int SkipEscape(const QString& p, int at)
{
    int i = at + 2;
    const QChar c = p.at(at + 1);
    if (c == QLatin1Char('x')) {
        while (i < p.size() && i < at + 6 && isxdigit(p.at(i).toLatin1()))
            ++i;
    } else if (c == QLatin1Char('0')) {
        while (i < p.size() && i < at + 5 && IsOctal(p.at(i)))
            ++i;
    }
    return i;
}

// Rejects what would make a match depend on text after its end or on earlier captures:
// anchors, word boundaries, look-aheads and back-references.
bool HasContextDependence(const QString& p)
{
    for (int i = 0; i < p.size(); ++i) {
        const QChar c = p.at(i);
        if (c == QLatin1Char('\\')) {
            if (i + 1 >= p.size())
                return true;
            const QChar e = p.at(i + 1);
            if (e == QLatin1Char('b') || e == QLatin1Char('B') ||
                (e >= QLatin1Char('1') && e <= QLatin1Char('9')))
                return true;
            i = SkipEscape(p, i) - 1;
        } else if (c == QLatin1Char('[')) {
            const int next = SkipClass(p, i);
            if (next < 0)
                return true;
            i = next - 1;
        } else if (c == QLatin1Char('^') || c == QLatin1Char('$')) {
            return true;
        } else if (c == QLatin1Char('(') && p.mid(i, 3) == QLatin1String("(?=")) {
            return true;
        } else if (c == QLatin1Char('(') && p.mid(i, 3) == QLatin1String("(?!")) {
            return true;
        }
    }
    return false;
}

// Splits the pattern into its top-level items; false for a top-level alternation or a
// text that is not a well-formed pattern.
bool SplitItems(const QString& p, std::vector<Item>& items)
{
    int i = 0;
    while (i < p.size()) {
        Item item;
        item.begin = i;
        const QChar c = p.at(i);
        if (c == QLatin1Char('\\')) {
            if (i + 1 >= p.size())
                return false;
            const QChar e = p.at(i + 1);
            if (!e.isLetterOrNumber()) {
                item.kind = Item::Literal;
                item.ch = e;
            }
            i = SkipEscape(p, i);
        } else if (c == QLatin1Char('[')) {
            i = SkipClass(p, i);
            if (i < 0)
                return false;
        } else if (c == QLatin1Char('(')) {
            int depth = 0;
            while (i < p.size()) {
                const QChar g = p.at(i);
                if (g == QLatin1Char('\\')) {
                    if (i + 1 >= p.size())
                        return false;
                    i = SkipEscape(p, i);
                    continue;
                }
                if (g == QLatin1Char('[')) {
                    i = SkipClass(p, i);
                    if (i < 0)
                        return false;
                    continue;
                }
                ++i;
                if (g == QLatin1Char('('))
                    ++depth;
                else if (g == QLatin1Char(')') && --depth == 0)
                    break;
            }
            if (depth != 0)
                return false;
        } else if (c == QLatin1Char('.')) {
            item.kind = Item::Dot;
            ++i;
        } else if (c == QLatin1Char('|') || c == QLatin1Char(')') || c == QLatin1Char('*') ||
                   c == QLatin1Char('+') || c == QLatin1Char('?') || c == QLatin1Char('{')) {
            return false;
        } else {
            item.kind = Item::Literal;
            item.ch = c;
            ++i;
        }

        if (i < p.size()) {
            const QChar q = p.at(i);
            if (q == QLatin1Char('*') || q == QLatin1Char('+') || q == QLatin1Char('?')) {
                item.quantified = true;
                item.unbounded = q != QLatin1Char('?');
                item.mayBeEmpty = q != QLatin1Char('+');
                ++i;
            } else if (q == QLatin1Char('{')) {
                const int close = p.indexOf(QLatin1Char('}'), i);
                if (close < 0)
                    return false;
                const QString body = p.mid(i + 1, close - i - 1);
                const int comma = body.indexOf(QLatin1Char(','));
                const QString low = comma < 0 ? body : body.left(comma);
                item.quantified = true;
                item.unbounded = comma >= 0 && comma == body.size() - 1;
                item.mayBeEmpty = low.isEmpty() || low.toInt() == 0;
                i = close + 1;
            }
        }
        item.end = i;
        items.push_back(item);
    }
    return true;
}

// The top-level alternatives of a pattern text; empty for a malformed one.
QStringList SplitAlternatives(const QString& p)
{
    QStringList parts;
    int depth = 0;
    int begin = 0;
    for (int i = 0; i < p.size(); ++i) {
        const QChar c = p.at(i);
        if (c == QLatin1Char('\\')) {
            if (i + 1 >= p.size())
                return {};
            i = SkipEscape(p, i) - 1;
        } else if (c == QLatin1Char('[')) {
            const int next = SkipClass(p, i);
            if (next < 0)
                return {};
            i = next - 1;
        } else if (c == QLatin1Char('(')) {
            ++depth;
        } else if (c == QLatin1Char(')')) {
            --depth;
        } else if (c == QLatin1Char('|') && depth == 0) {
            parts.append(p.mid(begin, i - begin));
            begin = i + 1;
        }
    }
    parts.append(p.mid(begin));
    return parts;
}

// A pattern whose matches are the reversed texts of the pattern's matches; false for a
// form it cannot reverse.
bool Reverse(const QString& p, QString& reversed)
{
    const QStringList alternatives = SplitAlternatives(p);
    if (alternatives.isEmpty())
        return false;
    QStringList out;
    for (const QString& alternative : alternatives) {
        std::vector<Item> items;
        if (!SplitItems(alternative, items))
            return false;
        QString sequence;
        for (auto it = items.rbegin(); it != items.rend(); ++it) {
            const QString text = alternative.mid(it->begin, it->end - it->begin);
            if (!text.startsWith(QLatin1Char('('))) {
                sequence += text;
                continue;
            }
            // A group: its content reversed, its kind and quantifier kept.
            const int close = text.lastIndexOf(QLatin1Char(')'));
            int open = 1;
            if (text.mid(1, 2) == QLatin1String("?:"))
                open = 3;
            else if (text.mid(1, 1) == QLatin1String("?"))
                return false;
            QString inner;
            if (!Reverse(text.mid(open, close - open), inner))
                return false;
            sequence += text.left(open) + inner + text.mid(close);
        }
        out.append(sequence);
    }
    reversed = out.join(QLatin1Char('|'));
    return true;
}

bool SameLetter(QChar a, QChar b, Qt::CaseSensitivity cs)
{
    if (a == b)
        return true;
    if (cs == Qt::CaseSensitive)
        return false;
    const char16_t x = a.unicode();
    const char16_t y = b.unicode();
    if (x < 0x80 && y < 0x80) {
        const auto lower = [](char16_t c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
        return lower(x) == lower(y);
    }
    // Of the letters beyond ASCII only these four have an ASCII lower case or folding.
    if (y < 0x80 && x != 0x130 && x != 0x131 && x != 0x17f && x != 0x212a)
        return false;
    // Both foldings: the candidates may be too many, never too few.
    return a.toLower() == b.toLower() || a.toCaseFolded() == b.toCaseFolded();
}

// Walks from 'at' by 'step' (1 forwards, -1 backwards) to the first place where 'what'
// stands in 'text'; -1 if none.
int Scan(const QString& text, const QString& what, int at, int step, Qt::CaseSensitivity cs)
{
    const int last = int(text.size() - what.size());
    const QChar first = what.at(0);
    // A first character without case is found by QString's own fast search.
    const bool plainFirst = first.unicode() < 0x80 && !first.isLetter();
    for (; at >= 0 && at <= last; at += step) {
        if (plainFirst) {
            at = step > 0 ? int(text.indexOf(first, at)) : int(text.lastIndexOf(first, at));
            if (at < 0 || at > last)
                return -1;
        } else if (!SameLetter(text.at(at), first, cs)) {
            continue;
        }
        int k = 1;
        while (k < what.size() && SameLetter(text.at(at + k), what.at(k), cs))
            ++k;
        if (k == what.size())
            return at;
    }
    return -1;
}

} // namespace

PageRegExp::PageRegExp(const QString& pattern, Qt::CaseSensitivity cs, bool minimal)
    : m_rx(pattern, cs)
{
    m_rx.setMinimal(minimal);

    // Only a minimal search stops at the first tail; a greedy one runs on to the last.
    std::vector<Item> items;
    if (!minimal || HasContextDependence(pattern) || !SplitItems(pattern, items))
        return;
    // A trailing ".*" of a minimal pattern matches nothing.
    while (!items.empty() && items.back().kind == Item::Dot && items.back().unbounded &&
           items.back().mayBeEmpty)
        items.pop_back();

    // Every match starts with the pattern's first plain letters: trying the pattern only
    // where they stand finds the same leftmost match, without QRegExp's walk over every
    // position in between.
    for (const Item& item : items) {
        if (item.kind != Item::Literal || item.quantified)
            break;
        m_lead.append(item.ch);
    }
    if (m_lead.size() >= 2) {
        m_anchored = QRegExp(QLatin1String("^(?:") + pattern + QLatin1Char(')'), cs);
        m_anchored.setMinimal(true);
    } else {
        m_lead.clear();
    }

    // Every match ends with the pattern's last plain letters.
    for (int k = int(items.size()) - 1; k >= 0; --k) {
        if (items[k].kind != Item::Literal || items[k].quantified)
            break;
        m_suffix.prepend(items[k].ch);
    }

    int gap = -1;
    for (int k = int(items.size()) - 1; k >= 0; --k) {
        if (items[k].kind == Item::Dot && items[k].unbounded) {
            gap = k;
            break;
        }
    }
    if (gap < 0 || gap + 1 >= int(items.size()))
        return;

    const int tailBegin = items[gap + 1].begin;
    const QString tail = pattern.mid(tailBegin, items.back().end - tailBegin);
    bool allLiteral = true;
    for (int k = gap + 1; k < int(items.size()); ++k) {
        if (items[k].kind != Item::Literal || items[k].quantified)
            allLiteral = false;
    }
    // A tail of letters only is the suffix already.
    QString reversed;
    if (allLiteral || !Reverse(tail, reversed))
        return;
    // The first match of the reversed tail on the reversed page is the tail match that
    // ends last on the page. Searched forwards, each failing attempt ends where the tail's
    // own parts stop, so the search costs one pass.
    m_tailReversed = QRegExp(reversed, cs);
    m_tailReversed.setMinimal(true);
    m_reverseTail = true;
}

int PageRegExp::LastIndexOf(const QString& text, const QString& what, int from,
                            Qt::CaseSensitivity cs)
{
    return Scan(text, what, qMin(from, int(text.size() - what.size())), -1, cs);
}

void PageRegExp::setPage(const QString& page)
{
    int limit = page.size();
    if (!m_suffix.isEmpty()) {
        const int at = LastIndexOf(page, m_suffix, page.size(), m_rx.caseSensitivity());
        limit = at < 0 ? 0 : at + int(m_suffix.size());
    }
    if (m_reverseTail && limit > 0) {
        QString text = page.left(limit);
        std::reverse(text.begin(), text.end());
        const int at = m_tailReversed.indexIn(text);
        limit = at < 0 ? 0 : limit - at;
    }
    // The searched text shares the page's characters; m_page keeps them alive.
    m_page = page;
    m_text = limit >= page.size() ? page : QString::fromRawData(m_page.constData(), limit);
}

int PageRegExp::IndexOf(const QString& text, const QString& what, int from, Qt::CaseSensitivity cs)
{
    return Scan(text, what, qMax(from, 0), 1, cs);
}

int PageRegExp::indexIn(int offset)
{
    m_last = &m_rx;
    if (offset > m_text.size())
        return -1;
    if (m_lead.isEmpty())
        return m_rx.indexIn(m_text, offset);
    m_last = &m_anchored;
    const Qt::CaseSensitivity cs = m_rx.caseSensitivity();
    for (int at = IndexOf(m_text, m_lead, offset, cs); at >= 0;
         at = IndexOf(m_text, m_lead, at + 1, cs)) {
        if (m_anchored.indexIn(m_text, at, QRegExp::CaretAtOffset) == at)
            return at;
    }
    return -1;
}
