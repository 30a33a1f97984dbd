#include "PtRankLine.h"
#include "PtRankPoint.h"
#include "TestMain.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

using Segment = QPair<QPointF, QPointF>;

// The sub-paths of a line path as (start, end) pairs; each sub-path is one moveTo and one
// lineTo.
QList<Segment> segmentsOf(const QPainterPath& path)
{
    QList<Segment> segments;
    for (int i = 0; i + 1 < path.elementCount(); i += 2) {
        const QPainterPath::Element from = path.elementAt(i);
        const QPainterPath::Element to = path.elementAt(i + 1);
        if (!from.isMoveTo() || !to.isLineTo())
            return {};
        segments.append({QPointF(from.x, from.y), QPointF(to.x, to.y)});
    }
    return segments;
}

bool near(const QPointF& a, const QPointF& b)
{
    return qAbs(a.x() - b.x()) < 1e-9 && qAbs(a.y() - b.y()) < 1e-9;
}

QImage blank(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

} // namespace

class TestPtRankItems : public QObject
{
    Q_OBJECT

private slots:
    void lineSegments_data();
    void lineSegments();
    void pointOffset_data();
    void pointOffset();
    void linePaintsGaps();
    void lineDefaults();
    void pointPlacement();
    void pointPaint_data();
    void pointPaint();
};

void TestPtRankItems::lineSegments_data()
{
    QTest::addColumn<QVector<QPointF>>("points");
    QTest::addColumn<QList<Segment>>("segments");

    QTest::newRow("one segment") << QVector<QPointF>{{0, 0}, {100, 0}}
                                 << QList<Segment>{{{6.5, 0}, {94, 0}}};
    QTest::newRow("close point left out")
        << QVector<QPointF>{{0, 0}, {3, 4}, {100, 0}} << QList<Segment>{{{6.5, 0}, {94, 0}}};
    // Direction (0.6, 0.8): 6.5 px from the start, 6 px before the end.
    QTest::newRow("diagonal") << QVector<QPointF>{{0, 0}, {30, 40}}
                              << QList<Segment>{{{3.9, 5.2}, {26.4, 35.2}}};
    QTest::newRow("corner") << QVector<QPointF>{{0, 0}, {100, 0}, {100, 100}}
                            << QList<Segment>{{{6.5, 0}, {94, 0}}, {{100, 6.5}, {100, 94}}};
    QTest::newRow("backwards") << QVector<QPointF>{{100, 50}, {0, 50}}
                               << QList<Segment>{{{93.5, 50}, {6, 50}}};
    QTest::newRow("negative coordinates keep their sign")
        << QVector<QPointF>{{-100, -20}, {0, -20}} << QList<Segment>{{{-93.5, -20}, {-6, -20}}};
    QTest::newRow("repeated point skipped")
        << QVector<QPointF>{{0, 0}, {0, 0}, {0, 50}} << QList<Segment>{{{0, 6.5}, {0, 44}}};
    QTest::newRow("short segment")
        << QVector<QPointF>{{0, 0}, {20, 0}} << QList<Segment>{{{6.5, 0}, {14, 0}}};
    QTest::newRow("no point") << QVector<QPointF>{} << QList<Segment>{};
    QTest::newRow("one point") << QVector<QPointF>{{5, 5}} << QList<Segment>{};
    QTest::newRow("only repeated points")
        << QVector<QPointF>{{5, 5}, {5, 5}, {5, 5}} << QList<Segment>{};
    QTest::newRow("only close points")
        << QVector<QPointF>{{5, 5}, {9, 9}, {1, 10}} << QList<Segment>{};
}

void TestPtRankItems::lineSegments()
{
    QFETCH(QVector<QPointF>, points);
    QFETCH(QList<Segment>, segments);

    PtRankLine line;
    line.SetLines({points, QStringLiteral("label")});
    QCOMPARE(line.Points(), points);
    QCOMPARE(line.Text(), QStringLiteral("label"));
    const QPainterPath path = line.LinePath();
    QCOMPARE(path.elementCount(), segments.size() * 2);
    const QList<Segment> drawn = segmentsOf(path);
    QCOMPARE(drawn.size(), segments.size());
    for (int i = 0; i < segments.size(); ++i) {
        QVERIFY2(near(drawn[i].first, segments[i].first),
                 qPrintable(QStringLiteral("segment %1 starts at (%2, %3)")
                                .arg(i)
                                .arg(drawn[i].first.x())
                                .arg(drawn[i].first.y())));
        QVERIFY2(near(drawn[i].second, segments[i].second),
                 qPrintable(QStringLiteral("segment %1 ends at (%2, %3)")
                                .arg(i)
                                .arg(drawn[i].second.x())
                                .arg(drawn[i].second.y())));
    }
}

void TestPtRankItems::pointOffset_data()
{
    QTest::addColumn<QPointF>("a");
    QTest::addColumn<QPointF>("b");
    QTest::addColumn<bool>("first");
    QTest::addColumn<bool>("moved");
    QTest::addColumn<QPointF>("result");

    QTest::newRow("start gap") << QPointF(0, 0) << QPointF(0, 20) << true << true
                               << QPointF(0, 13.5);
    QTest::newRow("end gap") << QPointF(0, 0) << QPointF(0, 20) << false << true << QPointF(0, 14);
    QTest::newRow("close in both directions")
        << QPointF(10, 10) << QPointF(16, 4) << true << false << QPointF(16, 4);
    QTest::newRow("far in one direction")
        << QPointF(10, 10) << QPointF(10, 30) << false << true << QPointF(10, 24);
}

void TestPtRankItems::pointOffset()
{
    QFETCH(QPointF, a);
    QFETCH(QPointF, b);
    QFETCH(bool, first);
    QFETCH(bool, moved);
    QFETCH(QPointF, result);

    PtRankLine line;
    QCOMPARE(line.SetPointOffset(a, b, first), moved);
    QVERIFY(near(b, result));
}

void TestPtRankItems::linePaintsGaps()
{
    PtRankLine line;
    line.SetLines({{{10, 20}, {110, 20}}, QString()});
    QImage image = blank(130, 40);
    {
        QPainter painter(&image);
        line.paint(&painter, nullptr, nullptr);
    }
    const QColor lineColor(180, 1, 222);
    QCOMPARE(image.pixelColor(60, 20), lineColor);
    QCOMPARE(image.pixelColor(60, 19), lineColor);
    // Gaps at both points: 6.5 px after the start and 6 px before the end (round caps reach
    // one more pixel).
    QCOMPARE(image.pixelColor(12, 20), QColor(Qt::white));
    QCOMPARE(image.pixelColor(108, 20), QColor(Qt::white));
    QCOMPARE(image.pixelColor(60, 25), QColor(Qt::white));

    // Nothing at all for one point.
    PtRankLine single;
    single.SetLines({{{10, 20}}, QString()});
    QImage empty = blank(130, 40);
    {
        QPainter painter(&empty);
        single.paint(&painter, nullptr, nullptr);
    }
    QCOMPARE(empty, blank(130, 40));
}

void TestPtRankItems::lineDefaults()
{
    PtRankLine line;
    QCOMPARE(line.boundingRect(), QRectF(0, 0, 6, 6));
    QCOMPARE(line.shape().boundingRect(), QRectF(0, 0, 6, 6));
    QCOMPARE(line.Color(), QColor(180, 1, 222));
    QCOMPARE(line.LineWidth(), 2);
    QVERIFY(line.Points().isEmpty());
    // The bounding rectangle does not follow the points.
    line.SetLines({{{0, 0}, {300, 300}}, QString()});
    QCOMPARE(line.boundingRect(), QRectF(0, 0, 6, 6));
}

void TestPtRankItems::pointPlacement()
{
    PtRankPoint point;
    QCOMPARE(point.PointSize(), QSize(6, 6));
    QCOMPARE(point.Sharp(), PtRankPoint::Circle);
    QCOMPARE(point.Color(), QColor(255, 0, 0));
    QCOMPARE(point.pos(), QPointF(0, 0));

    point.setPos(50, 50);
    QCOMPARE(point.pos(), QPointF(47, 47));
    QCOMPARE(point.Centre(), QPointF(50, 50));
    QCOMPARE(point.boundingRect(), QRectF(0, 0, 6, 6));

    point.setPointSize(QSize(9, 9));
    QCOMPARE(point.pos(), QPointF(46, 46));
    QCOMPARE(point.boundingRect(), QRectF(0, 0, 9, 9));
    QCOMPARE(point.shape().boundingRect(), QRectF(0, 0, 9, 9));

    // Halves in whole pixels, also for a fractional centre and an uneven size.
    point.setPos(QPointF(10.5, 20.25));
    QCOMPARE(point.pos(), QPointF(6.5, 16.25));
    point.setPointSize(QSize(7, 3));
    QCOMPARE(point.pos(), QPointF(7.5, 19.25));
}

void TestPtRankItems::pointPaint_data()
{
    QTest::addColumn<int>("sharp");
    QTest::addColumn<QColor>("corner");

    QTest::newRow("circle") << int(PtRankPoint::Circle) << QColor(Qt::white);
    QTest::newRow("square") << int(PtRankPoint::Square) << QColor(255, 0, 0);
    QTest::newRow("any other value is a square") << 7 << QColor(255, 0, 0);
}

void TestPtRankItems::pointPaint()
{
    QFETCH(int, sharp);
    QFETCH(QColor, corner);

    PtRankPoint point;
    point.setPointSize(QSize(20, 20));
    point.setSharp(PtRankPoint::_Point_sharp(sharp));
    QImage image = blank(30, 30);
    {
        QPainter painter(&image);
        point.paint(&painter, nullptr, nullptr);
    }
    QCOMPARE(image.pixelColor(10, 10), QColor(255, 0, 0));
    QCOMPARE(image.pixelColor(0, 0), corner);
    QCOMPARE(image.pixelColor(19, 19), corner);
    QCOMPARE(image.pixelColor(25, 25), QColor(Qt::white));
}

LT_TEST_MAIN(TestPtRankItems)
#include "tst_ptrankitems.moc"
