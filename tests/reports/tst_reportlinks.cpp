// The link step on small PDFs laid out as the toolkit's writer lays them out, built here
// with their cross-reference tables, and checked with qpdf afterwards.

#include "RankReport.h"
#include "TestMain.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// A PDF of the given objects (numbered from 1), with a correct classic cross-reference
// table and a trailer of /Size, /Info and /Root, as the toolkit writes it.
QByteArray MakePdf(const QList<QByteArray>& objects, bool withSize = true)
{
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (int i = 0; i < objects.size(); ++i) {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<<\n";
    if (withSize)
        pdf += "/Size " + QByteArray::number(objects.size() + 1) + "\n";
    pdf += "/Info 5 0 R\n/Root 1 0 R\n>>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

// Catalogue, page tree, one page, its empty annotation array, info; the page content is
// an empty stream.
QList<QByteArray> OnePage(const QByteArray& page = QByteArray())
{
    return {"<<\n/Type /Catalog\n/Pages 2 0 R\n>>",
            "<<\n/Type /Pages\n/Kids \n[\n3 0 R\n]\n/Count 1\n>>",
            page.isEmpty() ? QByteArray("<<\n/Type /Page\n/Parent 2 0 R\n/Contents 6 0 R\n"
                                        "/Annots 4 0 R\n/MediaBox [0 0 596 842]\n>>")
                           : page,
            "[ ]",
            "<<\n/Producer (test)\n>>",
            "<<\n/Length 0\n>>\nstream\n\nendstream"};
}

bool WriteFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int QpdfCheck(const QString& path, QByteArray* output = nullptr)
{
    QProcess process;
    process.start(QStringLiteral("qpdf"), {QStringLiteral("--check"), path});
    if (!process.waitForFinished(60000))
        return -1;
    const QByteArray all = process.readAllStandardOutput() + process.readAllStandardError();
    if (output)
        *output = all;
    // qpdf repairs a damaged cross-reference table with a warning (exit code 3).
    return process.exitCode();
}

// The dictionary of each object, keyed "obj:N 0 R", as qpdf reads the file.
QJsonObject QpdfObjects(const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("qpdf"), {QStringLiteral("--json=2"), path});
    process.waitForFinished(60000);
    const QJsonObject root = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    return root.value(QStringLiteral("qpdf")).toArray().at(1).toObject();
}

QString Entry(const QJsonObject& objects, int number, const QString& key)
{
    return objects.value(QStringLiteral("obj:%1 0 R").arg(number))
        .toObject()
        .value(QStringLiteral("value"))
        .toObject()
        .value(key)
        .toString();
}

} // namespace

class tst_ReportLinks : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void withoutLinksTheFileIsUntouched()
    {
        const QString path = m_dir.filePath(QStringLiteral("plain.pdf"));
        const QByteArray pdf = MakePdf(OnePage());
        QVERIFY(WriteFile(path, pdf));
        RankReport report;
        QVERIFY(report.WriteLinkToPdf(path));
        QCOMPARE(ReadFile(path), pdf);
        // Nothing to do is no failure, even without a file.
        QVERIFY(report.WriteLinkToPdf(m_dir.filePath(QStringLiteral("none.pdf"))));
    }

    void linksGoIntoTheAnnotationArrayAndAnUpdateSection()
    {
        const QString path = m_dir.filePath(QStringLiteral("links.pdf"));
        QVERIFY(WriteFile(path, MakePdf(OnePage())));
        QCOMPARE(QpdfCheck(path), 0);

        RankReport report;
        const QString awkward = QStringLiteral("http://x.example/%41b(c))d\\e?q=1");
        report.InsertLinkToPdf(1, QRectF(10, 800, 120, 780), QStringLiteral("http://a.example"));
        report.InsertLinkToPdf(1, QRectF(1.5, 2.25, 3, 4), awkward);
        QVERIFY(report.WriteLinkToPdf(path));
        QVERIFY(report.PendingLinks().isEmpty());

        const QByteArray pdf = ReadFile(path);
        // /Size was 7: the links take objects 8, 9 and 10, 11, in recording order.
        QVERIFY2(pdf.contains("4 0 obj\n[ 8 0 R 10 0 R ]\nendobj\n"), pdf);
        QVERIFY(pdf.contains("8 0 obj<</Type/Annot/Subtype/Link/Rect[10 800 120 780]/C[0 0 0]"
                             "/BS<</W 0/S/S>>/H/I/A 9 0 R>>\nendobj\n"
                             "9 0 obj<</S/URI/URI(http://a.example)>>\nendobj\n"));
        QVERIFY(pdf.contains("/Rect[1.5 2.25 3 4]"));
        // The percent sign stays; parentheses and the backslash are escaped.
        QVERIFY(pdf.contains("/URI(http://x.example/%41b\\(c\\)\\)d\\\\e?q=1)"));

        QByteArray output;
        QCOMPARE(QpdfCheck(path, &output), 0);
        QVERIFY2(!output.contains("WARNING"), output);
        // Read back through the cross-reference sections, not by repairing the file.
        const QJsonObject objects = QpdfObjects(path);
        QCOMPARE(Entry(objects, 10, "/Subtype"), QStringLiteral("/Link"));
        QCOMPARE(Entry(objects, 11, "/URI"), QStringLiteral("u:") + awkward);
        // The moved objects after the inserted references are still found.
        QCOMPARE(Entry(objects, 5, "/Producer"), QStringLiteral("u:test"));
    }

    void rectangleNumbers_data()
    {
        QTest::addColumn<QRectF>("rect");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("whole") << QRectF(10, 0, 595, 842) << QByteArray("[10 0 595 842]");
        QTest::newRow("six digits") << QRectF(182.17421, 742.6875, 413.82579, -0.5)
                                    << QByteArray("[182.174 742.688 413.826 -0.5]");
        QTest::newRow("no exponent")
            << QRectF(0.0000123, 1234567, 1e-9, 100) << QByteArray("[0.000012 1234567 0 100]");
    }
    void rectangleNumbers()
    {
        QFETCH(QRectF, rect);
        QFETCH(QByteArray, text);
        RankReport report;
        QByteArray refs;
        const QByteArray object = report.GetToWriteLinkInfo(QStringLiteral("u"), rect, refs);
        QVERIFY2(object.contains("/Rect" + text), object);
        QCOMPARE(refs, QByteArray(" 1 0 R"));
        report.GetToWriteLinkInfo(QStringLiteral("u"), rect, refs);
        QCOMPARE(refs, QByteArray(" 1 0 R 3 0 R"));
    }

    void refusedFilesStayAsTheyWere_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not a PDF") << QByteArray("hello, no page tree here\n");
        QTest::newRow("no /Size in the trailer") << MakePdf(OnePage(), false);
        QByteArray noTable = MakePdf(OnePage());
        noTable.replace("xref\n0 7", "xref\nbad");
        QTest::newRow("damaged cross-reference table") << noTable;
    }
    void refusedFilesStayAsTheyWere()
    {
        QFETCH(QByteArray, content);
        const QString path = m_dir.filePath(QStringLiteral("refused.pdf"));
        QVERIFY(WriteFile(path, content));
        RankReport report;
        report.InsertLinkToPdf(1, QRectF(1, 2, 3, 4), QStringLiteral("http://a.example"));
        QVERIFY(!report.WriteLinkToPdf(path));
        QCOMPARE(ReadFile(path), content);
        QCOMPARE(report.PendingLinks().value(1).size(), 1);
        QVERIFY(!report.WriteLinkToPdf(m_dir.filePath(QStringLiteral("missing.pdf"))));
    }

    void pagesWithoutAnAnnotationArrayAreLeftAlone()
    {
        const QString path = m_dir.filePath(QStringLiteral("noannots.pdf"));
        const QByteArray pdf = MakePdf(OnePage(
            "<<\n/Type /Page\n/Parent 2 0 R\n/Contents 6 0 R\n/MediaBox [0 0 596 842]\n>>"));
        QVERIFY(WriteFile(path, pdf));
        RankReport report;
        report.InsertLinkToPdf(1, QRectF(1, 2, 3, 4), QStringLiteral("http://a.example"));
        // Page 2 does not exist.
        report.InsertLinkToPdf(2, QRectF(1, 2, 3, 4), QStringLiteral("http://b.example"));
        QVERIFY(report.WriteLinkToPdf(path));
        QCOMPARE(ReadFile(path), pdf);
        QCOMPARE(QpdfCheck(path), 0);
    }

    void pageListAndObjectLookups()
    {
        RankReport report;
        QCOMPARE(report.GetKidsID("<< /Kids [3 0 R 10 0 R 12 0 R] >>"),
                 (QStringList{"3", "10", "12"}));
        QCOMPARE(report.GetKidsID("/Kids \n[\n6 0 R\n8 0 R\n]\n"), (QStringList{"6", "8"}));
        QCOMPARE(report.GetKidsID("/Kids []"), QStringList());
        QCOMPARE(report.GetKidsID("no pages"), QStringList());
        QCOMPARE(report.GetKidsID(""), QStringList());

        // Object 7 is not the tail of object 17.
        const QByteArray content = "17 0 obj\n<< /Annots 30 0 R >>\nendobj\n"
                                   "7 0 obj\n<<\n/Type /Page\n/Annots 9 0 R\n>>\nendobj\n"
                                   "9 0 obj\n[ ]\nendobj\n"
                                   "30 0 obj\n<< /Not an array >>\nendobj\n";
        QCOMPARE(RankReport::FindObjectHeader(content, 7), content.indexOf("7 0 obj\n<<\n/Type"));
        QCOMPARE(report.GetKidObjectAnnots(content, QStringLiteral("7")), 9);
        QCOMPARE(report.GetKidObjectAnnots(content, QStringLiteral("17")), 30);
        QCOMPARE(report.GetKidObjectAnnots(content, QStringLiteral("9")), -1);
        QCOMPARE(report.GetKidObjectAnnots(content, QStringLiteral("8")), -1);
        // The blank before the closing bracket of "[ ]".
        const int pos = report.GetToWritePos(content, 9);
        QCOMPARE(content.mid(pos, 2), QByteArray(" ]"));
        QCOMPARE(content.at(pos - 1), '[');
        QCOMPARE(report.GetToWritePos(content, 30), -1);
        QCOMPARE(report.GetToWritePos(content, 31), -1);
    }
};

LT_TEST_MAIN(tst_ReportLinks)
#include "tst_reportlinks.moc"
