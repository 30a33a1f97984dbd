#pragma once

#include "KeywordExportPDF.h"
#include "Records.h"
#include "WebsiteExportPDF.h"

#include <QByteArray>
#include <QDate>
#include <QMap>
#include <QObject>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVector>

#include <map>
#include <utility>
#include <vector>

class QAbstractItemModel;
class QTemporaryDir;

// Writes one report, website or keyword, as a PDF page or as comma-separated text. A page
// makes one on the stack of its report slot and uses it for exactly one report: a PDF is
// painted by PrintToPDF, which records where the links are, and WriteLinkToPdf then makes
// those places clickable in the written file.
class RankReport : public QObject
{
    Q_OBJECT

public:
    // One link to make clickable. The rectangle carries the PDF /Rect numbers x1, y1, x2, y2
    // (points, y upwards) in its x, y, width and height fields: corners, not a size.
    struct Url_Dat {
        int page = 0; // 1-based
        QString url;
        QRectF rect;
    };

    explicit RankReport(QObject* parent = nullptr);
    ~RankReport() override;

    // Absolute path of a report file in the configured output folder: the second part (if
    // any) and "-", then prefix, the local time as yyyyMMddhhmmss and the extension, with
    // the characters no file name may hold replaced in all but the second part.
    QString MakeReportFilePath(QString prefix, QString second, QString extension);

    // Paints the website (type 0) or keyword (type 1) report into a draft beside path; false
    // when it could not be drawn (the folder cannot take a file, or a file of that name is
    // read-only), and then nothing on disk has changed.
    bool PrintToPDF(int type, const WebsiteExportPDF* website, KeywordExportPDF* keyword,
                    QString path);
    // Makes the recorded links of the written PDF clickable and, after PrintToPDF, puts the
    // draft in place at path. True when there was nothing to do or the file was written
    // whole with them; on false the file at path is as it was.
    bool WriteLinkToPdf(QString path);

    bool PrintWebsiteCsv(QDate updated, QString path, const WEBSITE& site,
                         const std::vector<RankDistribution>& bands,
                         const std::vector<RankChangeKeywordCount>& changes,
                         QAbstractItemModel* model);
    bool PrintKeywordCsv(QDate updated, QString path, const WEBSITE& site,
                         std::vector<const RANK_DATA*>& histories,
                         const std::vector<std::pair<LTInt64, LTInt64>>& indexPairs,
                         QAbstractItemModel* model);

    void InsertLinkToPdf(int page, const QRectF& rect, const QString& url);
    const QMap<int, QVector<Url_Dat>>& PendingLinks() const { return m_mapLinks; }

    // The pieces of the link step, each over the whole file content.
    QStringList GetKidsID(const QByteArray& content);
    int GetKidObjectAnnots(const QByteArray& content, const QString& id);
    int GetToWritePos(const QByteArray& content, int number);
    int GetMaxSize(const QByteArray& content);
    int GetMaxFileSize(const QByteArray& content);
    QByteArray GetToWriteLinkInfo(const QString& url, const QRectF& rect, QByteArray& refs);
    // The cross-reference section and trailer that follow the appended objects: one entry
    // per new object at the given offsets, the document's catalogue (trailerRefs holds its
    // /Root and /Info entries), /Prev the previous section and startxref the new one.
    QByteArray GetToWriteTailInfo(const QVector<qint64>& objectOffsets, qint64 xrefOffset,
                                  const QByteArray& trailerRefs);

    // The texts of the credit line and its link target.
    static QString CreditText();
    static QString CreditUrl();

    // Offset of the header "<number> 0 obj" that is not the tail of a longer number; -1.
    static qint64 FindObjectHeader(const QByteArray& content, int number);

private:
    // Replaces path with content, whole or not at all; a drafted report's draft goes.
    bool CommitPdf(const QString& path, const QByteArray& content);
    QString DraftFile() const;

    QMap<int, QVector<Url_Dat>> m_mapLinks;
    // The private folder that holds the PDF PrintToPDF drew for m_strDraftTarget, removed
    // with this object at the latest.
    QTemporaryDir* m_pDraft = nullptr;
    QString m_strDraftTarget;
    int m_nStartXref = 0;
    int m_nObjectsAdded = 0;
    int m_nTrailerSize = 0;
};

// The text with each of \ / : * ? " < > | replaced by "@"; the length does not change.
QString ReplaceFileNameForbidChars(QString text);

// The dates on which any of the histories has a point within its index pair (first, last),
// each with one slot per history: that history's point of the day, or null.
void CombinRankDataForSameDate(std::vector<const RANK_DATA*> histories,
                               std::map<QDate, std::vector<const FLOW_ITEM*>>& grid,
                               const std::vector<std::pair<LTInt64, LTInt64>>& indexPairs);
