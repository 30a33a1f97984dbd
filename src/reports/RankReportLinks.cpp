#include "RankReport.h"

#include "ReportFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>

// The link step edits the PDF as the toolkit's writer lays it out: a page tree whose first
// /Kids array lists the pages, pages that name their annotation array ("/Annots n 0 R")
// near their start, annotation arrays written as "[ ]", one classic cross-reference table
// and a trailer at the end. References to the new link annotations go into the page's
// array; the annotation objects follow the old end of file as an incremental update with
// its own cross-reference section. Inserting the references moves every byte after them,
// so the offsets of the original table are moved with them: the file stays one a reader
// can open without repairing it.

namespace {

// Texts a PDF literal string cannot hold as they are.
QByteArray EscapePdfString(const QByteArray& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '(' || c == ')' || c == '\\')
            out += '\\';
        out += c;
    }
    return out;
}

// Up to six significant digits, no trailing zeros, never an exponent (PDF has none).
QByteArray PdfNumber(double value)
{
    if (!std::isfinite(value))
        return "0";
    QByteArray text = QByteArray::number(value, 'g', 6);
    if (text.contains('e') || text.contains('E')) {
        text = QByteArray::number(value, 'f', 6);
        while (text.contains('.') && (text.endsWith('0') || text.endsWith('.')))
            text.chop(1);
        if (text == "-0")
            text = "0";
    }
    return text;
}

// One entry of the original cross-reference table: where its ten offset digits are.
struct XrefEntry {
    int number = 0;
    qsizetype digits = 0; // position of the offset in the content
    bool used = false;    // "n" entry
};

qint64 ReadDecimal(const QByteArray& text, bool* ok)
{
    return text.trimmed().toLongLong(ok);
}

// Reads the classic cross-reference table at offset xref. False when there is none there
// (a cross-reference stream, a damaged file).
bool ReadXrefTable(const QByteArray& content, qint64 xref, QVector<XrefEntry>& entries,
                   qsizetype& trailerAt)
{
    if (xref < 0 || xref >= content.size() || !content.mid(xref).startsWith("xref"))
        return false;
    qsizetype at = xref + 4;
    auto skipSpace = [&] {
        while (at < content.size() && (content[at] == ' ' || content[at] == '\n' ||
                                       content[at] == '\r' || content[at] == '\t'))
            ++at;
    };
    for (;;) {
        skipSpace();
        if (content.mid(at, 7) == "trailer") {
            trailerAt = at;
            return true;
        }
        const qsizetype lineEnd = content.indexOf('\n', at);
        if (lineEnd < 0)
            return false;
        const QList<QByteArray> head = content.mid(at, lineEnd - at).simplified().split(' ');
        bool okFirst = false;
        bool okCount = false;
        if (head.size() != 2)
            return false;
        const qint64 first = head[0].toLongLong(&okFirst);
        const qint64 count = head[1].toLongLong(&okCount);
        if (!okFirst || !okCount || first < 0 || count < 0)
            return false;
        at = lineEnd + 1;
        for (qint64 i = 0; i < count; ++i) {
            // Entries are 20 bytes: 10 digits, blank, 5 digits, blank, n or f, 2-byte end.
            if (at + 20 > content.size())
                return false;
            const QByteArray entry = content.mid(at, 20);
            bool okOffset = false;
            entry.left(10).toLongLong(&okOffset);
            if (!okOffset || entry[10] != ' ' || entry[16] != ' ' ||
                (entry[17] != 'n' && entry[17] != 'f'))
                return false;
            entries.append({int(first + i), at, entry[17] == 'n'});
            at += 20;
        }
    }
}

qint64 EntryOffset(const QByteArray& content, const XrefEntry& entry)
{
    return content.mid(entry.digits, 10).toLongLong();
}

} // namespace

qint64 RankReport::FindObjectHeader(const QByteArray& content, int number)
{
    const QByteArray needle = QByteArray::number(number) + " 0 obj";
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = content.indexOf(needle, from);
        if (at < 0)
            return -1;
        if (at == 0 || !std::isdigit(static_cast<unsigned char>(content[at - 1])))
            return at;
        from = at + 1;
    }
}

QStringList RankReport::GetKidsID(const QByteArray& content)
{
    const qsizetype kids = content.indexOf("/Kids");
    if (kids < 0)
        return {};
    QByteArray window = content.mid(kids, 1280);
    const qsizetype zero = window.indexOf('\0');
    if (zero >= 0)
        window.truncate(zero);
    const QString text = QString::fromLatin1(window);
    const qsizetype open = text.indexOf(QLatin1Char('['));
    const qsizetype close = text.indexOf(QLatin1Char(']'));
    if (open < 0 || close <= open + 1)
        return {};
    QString inner = text.mid(open + 1, close - open - 1);
    inner.remove(QLatin1Char('\n'));
    QStringList ids;
    for (const QString& part : inner.split(QStringLiteral(" 0 R"), Qt::SkipEmptyParts)) {
        const QString id = part.trimmed();
        if (!id.isEmpty())
            ids << id;
    }
    return ids;
}

int RankReport::GetKidObjectAnnots(const QByteArray& content, const QString& id)
{
    bool ok = false;
    const int number = id.toInt(&ok);
    if (!ok)
        return -1;
    const qint64 header = FindObjectHeader(content, number);
    if (header < 0)
        return -1;
    const QString text = QString::fromLatin1(content.mid(header, 128));
    const qsizetype a = text.indexOf(QStringLiteral("/Annots"));
    if (a < 0)
        return -1;
    const qsizetype r = text.indexOf(QStringLiteral(" 0 R"), a + 7);
    if (!(a + 7 < r))
        return -1;
    QString value = text.mid(a + 7, r - a - 7);
    value.remove(QLatin1Char('\n'));
    const int annots = value.trimmed().toInt(&ok);
    return ok ? annots : -1;
}

int RankReport::GetToWritePos(const QByteArray& content, int number)
{
    if (number < 0)
        return -1;
    const qint64 header = FindObjectHeader(content, number);
    if (header < 0)
        return -1;
    const QByteArray text = content.mid(header, 128);
    const qsizetype i = text.indexOf(']');
    // The bracket must close the object's own array.
    const qsizetype open = text.indexOf('[');
    if (i < 1 || open < 0 || open >= i)
        return -1;
    return int(header + i - 1);
}

int RankReport::GetMaxSize(const QByteArray& content)
{
    // The writer's trailer may be longer than a fixed tail of the file (it can carry a
    // document id), so the last trailer is looked up wherever it is.
    const qsizetype trailer = content.lastIndexOf("trailer");
    if (trailer < 0)
        return -1;
    const QByteArray text = content.mid(trailer);
    const qsizetype p = text.indexOf("/Size");
    if (p < 0)
        return -1;
    const qsizetype q = text.indexOf('/', p + 5);
    const qsizetype end = text.indexOf(">>", p + 5);
    const qsizetype stop = (q < 0 || (end >= 0 && end < q)) ? end : q;
    if (!(p + 5 < stop))
        return -1;
    QByteArray value = text.mid(p + 5, stop - p - 5).trimmed();
    value.replace('\n', QByteArray());
    bool ok = false;
    const int size = int(ReadDecimal(value, &ok));
    if (value.isEmpty() || !ok)
        return -1;
    m_nTrailerSize = size;
    return size;
}

int RankReport::GetMaxFileSize(const QByteArray& content)
{
    const QByteArray tail = content.right(56);
    const qsizetype s = tail.lastIndexOf("startxref");
    if (s < 0)
        return -1;
    const qsizetype e = tail.indexOf("%%EOF", s + 9);
    if (e < 0)
        return -1;
    QByteArray value = tail.mid(s + 9, e - s - 9).trimmed();
    value.replace('\n', QByteArray());
    bool ok = false;
    const int offset = int(ReadDecimal(value, &ok));
    if (!ok)
        return -1;
    m_nStartXref = offset;
    return offset;
}

QByteArray RankReport::GetToWriteLinkInfo(const QString& url, const QRectF& rect, QByteArray& refs)
{
    ++m_nObjectsAdded;
    const int n = m_nObjectsAdded + m_nTrailerSize;
    refs += ' ' + QByteArray::number(n) + " 0 R";
    QByteArray text =
        QByteArray::number(n) + " 0 obj<</Type/Annot/Subtype/Link/Rect[" + PdfNumber(rect.x()) +
        ' ' + PdfNumber(rect.y()) + ' ' + PdfNumber(rect.width()) + ' ' + PdfNumber(rect.height()) +
        "]/C[0 0 0]/BS<</W 0/S/S>>/H/I/A " + QByteArray::number(n + 1) + " 0 R>>\nendobj\n";
    text += QByteArray::number(n + 1) + " 0 obj<</S/URI/URI(" + EscapePdfString(url.toLatin1()) +
            ")>>\nendobj\n";
    ++m_nObjectsAdded;
    return text;
}

QByteArray RankReport::GetToWriteTailInfo(const QVector<qint64>& objectOffsets, qint64 xrefOffset,
                                          const QByteArray& trailerRefs)
{
    // The new objects are numbered consecutively and end at trailer size + objects added.
    const int count = int(objectOffsets.size());
    const int last = m_nTrailerSize + m_nObjectsAdded;
    const int first = last - count + 1;
    QByteArray text = "xref\n0 1\n0000000000 65535 f \n";
    if (count > 0) {
        text += QByteArray::number(first) + ' ' + QByteArray::number(count) + '\n';
        for (qint64 offset : objectOffsets)
            text += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    }
    text += "trailer\n<<\n/Size " + QByteArray::number(last + 1) + '\n' + trailerRefs + "/Prev " +
            QByteArray::number(m_nStartXref) + "\n>>\nstartxref\n" +
            QByteArray::number(xrefOffset) + "\n%%EOF\n";
    return text;
}

bool RankReport::CommitPdf(const QString& path, const QByteArray& content)
{
    // Written whole or not at all: a failed write leaves the older file as it was, and a
    // link at path is replaced, not written through.
    if (!ReplaceReportFile(path, content))
        return false;
    delete m_pDraft;
    m_pDraft = nullptr;
    m_strDraftTarget.clear();
    return true;
}

bool RankReport::WriteLinkToPdf(QString path)
{
    // A report drawn by PrintToPDF is read from its draft and reaches path only here.
    const bool drafted = m_pDraft && path == m_strDraftTarget;
    if (m_mapLinks.isEmpty() && !drafted)
        return true;

    QFile file(drafted ? DraftFile() : path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray content = file.readAll();
    file.close();
    if (m_mapLinks.isEmpty())
        return CommitPdf(path, content);

    const QStringList pages = GetKidsID(content);
    if (pages.isEmpty())
        return false;

    // Without the trailer's size and the cross-reference table new objects could take the
    // numbers of existing ones, and the moved bytes could not be accounted for: the file is
    // left as it is.
    if (GetMaxSize(content) < 1 || GetMaxFileSize(content) < 0)
        return false;
    QVector<XrefEntry> entries;
    qsizetype trailerAt = -1;
    if (!ReadXrefTable(content, m_nStartXref, entries, trailerAt))
        return false;
    const qsizetype trailerEnd = content.indexOf(">>", trailerAt);
    if (trailerEnd < 0)
        return false;
    QString dictionary =
        QString::fromLatin1(content.mid(trailerAt + 7, trailerEnd - trailerAt - 7));
    dictionary.remove(QStringLiteral("<<"));
    if (dictionary.contains(QStringLiteral("/Prev")) ||
        dictionary.contains(QStringLiteral("/Encrypt")) ||
        !dictionary.contains(QStringLiteral("/Root")))
        return false;
    // Every entry of the old trailer but its size goes into the new one.
    dictionary.remove(QRegularExpression(QStringLiteral("/Size\\s*\\d+")));
    const QByteArray trailerRefs = dictionary.trimmed().toLatin1() + '\n';

    qint64 xrefOffset = m_nStartXref;
    QByteArray objects;
    QVector<qint64> objectOffsets;
    for (auto it = m_mapLinks.cbegin(); it != m_mapLinks.cend(); ++it) {
        const int page = it.key();
        if (page < 1 || page > pages.size())
            continue;
        const int annots = GetKidObjectAnnots(content, pages.at(page - 1));
        const int pos = GetToWritePos(content, annots);
        if (annots < 0 || pos < 0)
            continue;
        // The array must be the object the cross-reference table names, not text that
        // merely looks like it.
        const qint64 header = FindObjectHeader(content, annots);
        bool listed = false;
        for (const XrefEntry& entry : entries) {
            if (entry.number == annots && entry.used && EntryOffset(content, entry) == header)
                listed = true;
        }
        if (!listed)
            continue;

        QByteArray refs;
        for (const Url_Dat& link : it.value()) {
            const QByteArray text = GetToWriteLinkInfo(link.url, link.rect, refs);
            // Two objects per link; the first one ends before the URL starts.
            objectOffsets.append(objects.size());
            objectOffsets.append(objects.size() + text.indexOf("endobj\n") + 7);
            objects += text;
        }
        content.insert(pos, refs);
        for (XrefEntry& entry : entries) {
            if (entry.digits > pos)
                entry.digits += refs.size();
            const qint64 offset = EntryOffset(content, entry);
            if (entry.used && offset > pos)
                content.replace(entry.digits, 10,
                                QByteArray::number(offset + refs.size()).rightJustified(10, '0'));
        }
        if (xrefOffset > pos)
            xrefOffset += refs.size();
    }
    if (objects.isEmpty()) {
        // No page could take its links; the file stays as it was drawn.
        if (drafted && !CommitPdf(path, content))
            return false;
        m_mapLinks.clear();
        return true;
    }

    // The old end of file points to the moved table.
    const qsizetype oldStart = content.lastIndexOf("startxref");
    const qsizetype oldEof = content.indexOf("%%EOF", oldStart);
    if (oldStart >= 0 && oldEof > oldStart)
        content.replace(oldStart, oldEof - oldStart,
                        "startxref\n" + QByteArray::number(xrefOffset) + '\n');
    m_nStartXref = int(xrefOffset);

    content += '\n';
    const qint64 base = content.size();
    for (qint64& offset : objectOffsets)
        offset += base;
    content += objects;
    content += GetToWriteTailInfo(objectOffsets, content.size(), trailerRefs);

    if (!CommitPdf(path, content))
        return false;
    m_mapLinks.clear();
    return true;
}
