#include "MessageBoxWatcher.h"
#include "PtChartScene.h"
#include "PtChartView.h"
#include "PtRankLine.h"
#include "PtRankPoint.h"
#include "RankPointItem.h"
#include "TestMain.h"

#include <QHelpEvent>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTextItem>
#include <QToolTip>

namespace {

// What a drawing pass asked the painter to draw, with the pen of each call.
struct Recorded {
    enum Kind { Line, Point, Text };
    Kind kind;
    QLineF line; // a point is a line of length 0
    QString text;
    QColor color;
    double width;
};

class RecordingEngine : public QPaintEngine
{
public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override
    {
        if (state.state() & QPaintEngine::DirtyPen)
            m_pen = state.pen();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawLines(const QLineF* lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            calls.append({Recorded::Line, lines[i], QString(), m_pen.color(), m_pen.widthF()});
    }
    void drawPoints(const QPointF* points, int count) override
    {
        for (int i = 0; i < count; ++i)
            calls.append({Recorded::Point, QLineF(points[i], points[i]), QString(), m_pen.color(),
                          m_pen.widthF()});
    }
    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        calls.append({Recorded::Text, QLineF(p, p), item.text(), m_pen.color(), m_pen.widthF()});
    }
    Type type() const override { return QPaintEngine::User; }

    QList<Recorded> calls;

private:
    QPen m_pen;
};

// A 1000 x 1000 picture at 96 dpi whose painter records instead of drawing.
class RecordingDevice : public QImage
{
public:
    RecordingDevice() : QImage(1000, 1000, QImage::Format_ARGB32_Premultiplied) {}
    QPaintEngine* paintEngine() const override { return &engine; }
    mutable RecordingEngine engine;
};

// Opens the drawing pass to the test.
class ChartProbe : public PtChartScene
{
public:
    using PtChartScene::drawBackground;
    using PtChartScene::PtChartScene;

    QList<Recorded> record()
    {
        RecordingDevice device;
        {
            QPainter painter(&device);
            drawBackground(&painter, QRectF());
        }
        return device.engine.calls;
    }
};

FLOW_ITEM point(LTInt64 number, int rank, const QString& day)
{
    FLOW_ITEM item;
    item.UpdateNo = number;
    item.Rank = qint16(rank);
    item.SearchTime = QDateTime(QDate::fromString(day, Qt::ISODate), QTime(10, 30));
    item.RankURL = QStringLiteral("http://example.com/p%1").arg(number);
    return item;
}

RANK_DATA series(const QString& host, std::vector<FLOW_ITEM> points)
{
    RANK_DATA data;
    data.Website = QStringLiteral("example.com");
    data.Keyword = QStringLiteral("blue widgets");
    data.SearchEngine = host;
    data.Lang = QStringLiteral("English");
    data.FlowItems = std::move(points);
    return data;
}

const QColor GoogleBlue(26, 153, 208);
const QColor BingGreen(102, 201, 72);
const QColor YahooOrange(239, 117, 70);

QList<Recorded> ofKind(const QList<Recorded>& calls, Recorded::Kind kind, const QColor& color)
{
    QList<Recorded> found;
    for (const Recorded& call : calls)
        if (call.kind == kind && (!color.isValid() || call.color == color))
            found.append(call);
    return found;
}

bool near(double a, double b)
{
    return qAbs(a - b) < 1e-9;
}

// The chart of 800 x 318: content 800 x 300, grid lines every 50 px, box x 80..720 and
// y 50..250 (height 200).
const QRectF Scene(0, 0, 800, 318);
const QDate From(2024, 3, 1);
const QDate To(2024, 3, 10);

using Segment = QPair<QPointF, QPointF>;

// The sub-paths of a line path as (start, end) pairs, rounded to 1e-6; each sub-path is one
// moveTo and one lineTo.
QList<Segment> segmentsOf(const QPainterPath& path)
{
    auto round = [](double v) { return std::round(v * 1e6) / 1e6; };
    QList<Segment> segments;
    for (int i = 0; i + 1 < path.elementCount(); i += 2) {
        const QPainterPath::Element from = path.elementAt(i), to = path.elementAt(i + 1);
        if (!from.isMoveTo() || !to.isLineTo())
            return {};
        segments.append({QPointF(round(from.x), round(from.y)), QPointF(round(to.x), round(to.y))});
    }
    return segments;
}

// What an item paints onto a white picture.
template <class Item> QImage painted(Item& item, int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    item.paint(&painter, nullptr, nullptr);
    return image;
}

} // namespace

class TestPtChartScene : public QObject
{
    Q_OBJECT

private slots:
    void axisMaximum_data()
    {
        QTest::addColumn<QList<int>>("google");
        QTest::addColumn<QList<int>>("bing");
        QTest::addColumn<int>("maximum");

        QTest::newRow("nothing") << QList<int>{} << QList<int>{} << 100;
        QTest::newRow("only failed checks") << QList<int>{0, 0} << QList<int>{} << 100;
        QTest::newRow("1") << QList<int>{1} << QList<int>{} << 8;
        QTest::newRow("3") << QList<int>{3, 2} << QList<int>{} << 8;
        QTest::newRow("4") << QList<int>{4} << QList<int>{} << 8;
        QTest::newRow("5") << QList<int>{5} << QList<int>{} << 8;
        QTest::newRow("8") << QList<int>{8} << QList<int>{} << 8;
        QTest::newRow("9") << QList<int>{9} << QList<int>{} << 12;
        QTest::newRow("12 on the second engine") << QList<int>{2} << QList<int>{12} << 12;
        QTest::newRow("13") << QList<int>{13} << QList<int>{1} << 16;
        QTest::newRow("97") << QList<int>{97} << QList<int>{} << 100;
        QTest::newRow("99") << QList<int>{99} << QList<int>{} << 100;
        QTest::newRow("100") << QList<int>{100} << QList<int>{} << 100;
        QTest::newRow("101 beside small ranks") << QList<int>{3} << QList<int>{101, 2} << 100;
    }

    void axisMaximum()
    {
        QFETCH(QList<int>, google);
        QFETCH(QList<int>, bing);
        QFETCH(int, maximum);

        std::vector<FLOW_ITEM> googlePoints;
        for (int i = 0; i < google.size(); ++i)
            googlePoints.push_back(
                point(i + 1, google[i], QDate(2024, 3, 2 + i).toString(Qt::ISODate)));
        std::vector<FLOW_ITEM> bingPoints;
        for (int i = 0; i < bing.size(); ++i)
            bingPoints.push_back(
                point(50 + i, bing[i], QDate(2024, 3, 2 + i).toString(Qt::ISODate)));
        // Ranks outside the range never count.
        googlePoints.insert(googlePoints.begin(), point(0, 101, QStringLiteral("2024-02-29")));
        bingPoints.push_back(point(99, 101, QStringLiteral("2024-03-11")));
        const RANK_DATA g = series(QStringLiteral("www.google.com"), googlePoints);
        const RANK_DATA b = series(QStringLiteral("www.bing.com"), bingPoints);

        PtChartScene scene(&g, &b, nullptr, From, To, Scene);
        QCOMPARE(scene.AxisMaximum(), LTInt64(maximum));
        QCOMPARE(scene.CalcProperMaxRankValue(), LTInt64(maximum));
    }

    void timePosition_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<double>("x");

        QTest::newRow("first day one day's width in") << From << To << From << 143.9;
        QTest::newRow("third day") << From << To << QDate(2024, 3, 3) << 271.7;
        QTest::newRow("last day at right - 1") << From << To << To << 719.0;
        QTest::newRow("one-day range") << To << To << To << 719.0;
        QTest::newRow("range backwards") << To << From << To << 0.0;
        QTest::newRow("range ending the day before it starts")
            << QDate(2024, 3, 11) << To << To << 0.0;
    }

    void timePosition()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QDate, day);
        QFETCH(double, x);

        const double got = CalcTimePosition(QRectF(80, 50, 640, 200), from, to, day);
        QVERIFY2(near(got, x), qPrintable(QString::number(got)));
    }

    void geometry()
    {
        PtChartScene scene(nullptr, nullptr, nullptr, From, To, Scene);
        QCOMPARE(scene.sceneRect(), Scene);
        QCOMPARE(scene.ContentRect(), QRectF(0, 0, 800, 300));
        QCOMPARE(scene.GetChartBox(), QRectF(80, 50, 640, 200));
        QCOMPARE(scene.From(), From);
        QCOMPARE(scene.To(), To);

        scene.resize(QSize(500, 618));
        QCOMPARE(scene.sceneRect(), QRectF(0, 0, 500, 618));
        QCOMPARE(scene.GetChartBox(), QRectF(80, 100, 340, 400));
    }

    void emptyChart()
    {
        ChartProbe scene(nullptr, nullptr, nullptr, From, To, Scene);
        QVERIFY(scene.items().isEmpty());
        const QList<Recorded> calls = scene.record();

        const QList<Recorded> frame = ofKind(calls, Recorded::Line, QColor(150, 150, 150));
        QCOMPARE(frame.size(), 1);
        QCOMPARE(frame[0].line, QLineF(0, 300, 800, 300));

        const QList<Recorded> grid = ofKind(calls, Recorded::Line, QColor(220, 220, 220));
        QCOMPARE(grid.size(), 5);
        for (int k = 0; k < 5; ++k)
            QCOMPARE(grid[k].line, QLineF(0, 50 * (k + 1), 800, 50 * (k + 1)));

        QStringList texts;
        for (const Recorded& call : ofKind(calls, Recorded::Text, QColor(0, 0, 0)))
            texts << call.text;
        QCOMPARE(texts, (QStringList{"1", "25", "50", "75", "100"}));

        // No series: no dots, no coloured lines.
        QVERIFY(ofKind(calls, Recorded::Point, QColor()).isEmpty());
        QCOMPARE(ofKind(calls, Recorded::Line, QColor()).size(), 6);
    }

    void labels_data()
    {
        QTest::addColumn<int>("highest");
        QTest::addColumn<QStringList>("labels");

        QTest::newRow("3") << 3 << QStringList{"1", "2", "4", "6", "8"};
        QTest::newRow("5") << 5 << QStringList{"1", "2", "4", "6", "8"};
        QTest::newRow("9") << 9 << QStringList{"1", "3", "6", "9", "12"};
        QTest::newRow("100") << 100 << QStringList{"1", "25", "50", "75", "100"};
    }

    void labels()
    {
        QFETCH(int, highest);
        QFETCH(QStringList, labels);

        const RANK_DATA y = series(QStringLiteral("search.yahoo.com"),
                                   {point(1, highest, QStringLiteral("2024-03-04"))});
        ChartProbe scene(nullptr, nullptr, &y, From, To, Scene);
        QStringList texts;
        QList<double> tops;
        for (const Recorded& call : scene.record()) {
            if (call.kind == Recorded::Text) {
                texts << call.text;
                tops << call.line.p1().y();
            }
        }
        QCOMPARE(texts, labels);
        // Each label just below its grid line: the text's baseline lies under the line, above
        // the next one.
        for (int i = 0; i < tops.size(); ++i) {
            QVERIFY2(tops[i] > 50 * (i + 1) + 2 && tops[i] < 50 * (i + 2),
                     qPrintable(QString::number(tops[i])));
        }
    }

    void seriesDrawn()
    {
        // Google on days 1, 3 and 10; Bing on day 3 only. Axis maximum 12 (highest rank 10).
        const RANK_DATA g = series(
            QStringLiteral("www.google.com"),
            {point(1, 10, QStringLiteral("2024-02-20")), point(2, 4, QStringLiteral("2024-03-01")),
             point(3, 6, QStringLiteral("2024-03-03")), point(4, 10, QStringLiteral("2024-03-10")),
             point(5, 1, QStringLiteral("2024-03-11"))});
        const RANK_DATA b =
            series(QStringLiteral("www.bing.com"), {point(6, 12, QStringLiteral("2024-03-03"))});
        ChartProbe scene(&g, &b, nullptr, From, To, Scene);
        QCOMPARE(scene.AxisMaximum(), LTInt64(12));
        QCOMPARE(scene.items().size(), 4);
        QCOMPARE(scene.FindGraphicItem(&g.FlowItems[0]), nullptr);
        QCOMPARE(scene.FindGraphicItem(&g.FlowItems[4]), nullptr);

        // Before the first pass the items stand at the origin.
        RankPointItem* third = scene.FindGraphicItem(&g.FlowItems[2]);
        QVERIFY(third);
        QCOMPARE(third->pos(), QPointF(0, 0));
        QCOMPARE(third->Series(), &g);
        QCOMPARE(third->Point(), &g.FlowItems[2]);
        QCOMPARE(third->boundingRect(), QRectF(-2.5, -2.5, 5, 5));

        const QList<Recorded> calls = scene.record();
        // x: 80 + 639 x (day + 1) / 10; y: 50 + 199 x rank / 12.
        const QList<QPointF> googleAt = {{143.9, 50 + 199.0 * 4 / 12},
                                         {271.7, 50 + 199.0 * 6 / 12},
                                         {719, 50 + 199.0 * 10 / 12}};
        const QList<Recorded> googleDots = ofKind(calls, Recorded::Point, GoogleBlue);
        QCOMPARE(googleDots.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(near(googleDots[i].line.p1().x(), googleAt[i].x()));
            QVERIFY(near(googleDots[i].line.p1().y(), googleAt[i].y()));
            QCOMPARE(googleDots[i].width, 5.0);
        }
        const QList<Recorded> googleLines = ofKind(calls, Recorded::Line, GoogleBlue);
        QCOMPARE(googleLines.size(), 2);
        QCOMPARE(googleLines[0].line, QLineF(googleAt[0], googleAt[1]));
        QCOMPARE(googleLines[1].line, QLineF(googleAt[1], googleAt[2]));
        QCOMPARE(googleLines[0].width, 1.5);

        const QList<Recorded> bingDots = ofKind(calls, Recorded::Point, BingGreen);
        QCOMPARE(bingDots.size(), 1);
        QCOMPARE(bingDots[0].line.p1(), QPointF(271.7, 249));
        QVERIFY(ofKind(calls, Recorded::Line, BingGreen).isEmpty());

        // The pass moved the items onto their dots.
        QCOMPARE(scene.FindGraphicItem(&g.FlowItems[1])->pos(), googleAt[0]);
        QCOMPARE(third->pos(), googleAt[1]);
        QCOMPARE(scene.FindGraphicItem(&b.FlowItems[0])->pos(), QPointF(271.7, 249));
    }

    void failedCheckSkipped()
    {
        const RANK_DATA y = series(QStringLiteral("search.yahoo.com"),
                                   {point(1, 20, QStringLiteral("2024-03-02")),
                                    point(2, 0, QStringLiteral("2024-03-05")),
                                    point(3, 40, QStringLiteral("2024-03-08"))});
        ChartProbe scene(nullptr, nullptr, &y, From, To, Scene);
        QCOMPARE(scene.AxisMaximum(), LTInt64(40));
        QCOMPARE(scene.items().size(), 2);
        QCOMPARE(scene.FindGraphicItem(&y.FlowItems[1]), nullptr);

        const QList<Recorded> calls = scene.record();
        QCOMPARE(ofKind(calls, Recorded::Point, YahooOrange).size(), 2);
        const QList<Recorded> lines = ofKind(calls, Recorded::Line, YahooOrange);
        QCOMPARE(lines.size(), 1);
        // Day 2 and day 8, ranks 20 and 40 of 40.
        QCOMPARE(lines[0].line, QLineF(80 + 63.9 * 2, 50 + 199.0 * 20 / 40, 80 + 63.9 * 8, 249));
        QCOMPARE(scene.FindGraphicItem(&y.FlowItems[0])->toolTip(),
                 QStringLiteral("Saturday, March 2 2024 <br><font color='#ef7546'>\u25CF</font> "
                                "Yahoo: 20 "));
    }

    void beyondAxis()
    {
        const RANK_DATA g = series(QStringLiteral("www.google.co.uk"),
                                   {point(1, 101, QStringLiteral("2024-03-10"))});
        ChartProbe scene(&g, nullptr, nullptr, To, To, Scene);
        QCOMPARE(scene.AxisMaximum(), LTInt64(100));
        const QList<Recorded> dots = ofKind(scene.record(), Recorded::Point, GoogleBlue);
        QCOMPARE(dots.size(), 1);
        // One-day range: the day at the box's right - 1; 101 sits 5 px below the box.
        QCOMPARE(dots[0].line.p1(), QPointF(719, 255));
        QCOMPARE(scene.FindGraphicItem(&g.FlowItems[0])->toolTip(),
                 QStringLiteral("Sunday, March 10 2024 <br><font color='#1a99d0'>\u25CF</font> "
                                "Google: >100 "));
    }

    void toolTips()
    {
        const RANK_DATA g =
            series(QStringLiteral("www.google.de"), {point(1, 7, QStringLiteral("2024-03-04")),
                                                     point(2, 9, QStringLiteral("2024-03-05"))});
        const RANK_DATA b =
            series(QStringLiteral("www.bing.com"), {point(3, 0, QStringLiteral("2024-03-04")),
                                                    point(4, 101, QStringLiteral("2024-03-05"))});
        const RANK_DATA y = series(QStringLiteral("de.search.yahoo.com"),
                                   {point(5, 12, QStringLiteral("2024-03-04")),
                                    point(6, 15, QStringLiteral("2024-03-05"))});
        PtChartScene scene(&g, &b, &y, From, To, Scene);
        QCOMPARE(scene.items().size(), 5);

        // The failed Bing check is missing from its day; the last engine's line has no <br>.
        const QString fourth = QStringLiteral(
            "Monday, March 4 2024 <br><font color='#1a99d0'>\u25CF</font> Google: 7 <br>"
            "<font color='#ef7546'>\u25CF</font> Yahoo: 12 ");
        QCOMPARE(scene.FindGraphicItem(&g.FlowItems[0])->toolTip(), fourth);
        QCOMPARE(scene.FindGraphicItem(&y.FlowItems[0])->toolTip(), fourth);
        QCOMPARE(scene.FindGraphicItem(&b.FlowItems[0]), nullptr);

        const QString fifth = QStringLiteral(
            "Tuesday, March 5 2024 <br><font color='#1a99d0'>\u25CF</font> Google: 9 <br>"
            "<font color='#66c948'>\u25CF</font> Bing: >100 <br>"
            "<font color='#ef7546'>\u25CF</font> Yahoo: 15 ");
        for (const FLOW_ITEM* p : {&g.FlowItems[1], &b.FlowItems[1], &y.FlowItems[1]})
            QCOMPARE(scene.FindGraphicItem(p)->toolTip(), fifth);

        // With Yahoo missing on a day the Bing line is not the last index: it keeps its <br>.
        const RANK_DATA onlyBing =
            series(QStringLiteral("www.bing.com"), {point(7, 3, QStringLiteral("2024-03-06"))});
        PtChartScene two(&g, &onlyBing, &y, From, To, Scene);
        QCOMPARE(two.FindGraphicItem(&onlyBing.FlowItems[0])->toolTip(),
                 QStringLiteral("Wednesday, March 6 2024 <br><font color='#66c948'>\u25CF</font> "
                                "Bing: 3 <br>"));

        // A history of another engine kind in a slot: no colour, no engine name, but still a
        // point with its rank.
        const RANK_DATA other = series(QStringLiteral("search.example.org"),
                                       {point(1, 30, QStringLiteral("2024-03-09"))});
        PtChartScene third(nullptr, &other, nullptr, From, To, Scene);
        QCOMPARE(third.FindGraphicItem(&other.FlowItems[0])->toolTip(),
                 QStringLiteral("Saturday, March 9 2024 <br><font color=''>\u25CF</font> : 30 "));
    }

    void repeatedDayWarnsOnce()
    {
        MessageBoxWatcher watcher;
        // Two points of one day: the later one gets the item, the earlier is left out.
        const RANK_DATA g = series(
            QStringLiteral("www.google.com"),
            {point(1, 5, QStringLiteral("2024-03-02")), point(2, 8, QStringLiteral("2024-03-04")),
             point(3, 6, QStringLiteral("2024-03-04")), point(4, 7, QStringLiteral("2024-03-06"))});
        ChartProbe scene(&g, nullptr, nullptr, From, To, Scene);
        QCOMPARE(scene.items().size(), 3);
        QCOMPARE(scene.FindGraphicItem(&g.FlowItems[1]), nullptr);
        QVERIFY(scene.FindGraphicItem(&g.FlowItems[2])->toolTip().contains("Google: 6 "));

        // A drawing pass only logs it: a box would open inside every repaint.
        QTest::ignoreMessage(QtWarningMsg, "may exist repeated Update Flow NO");
        const QList<Recorded> calls = scene.record();
        QVERIFY(watcher.boxes().isEmpty());
        QCOMPARE(ofKind(calls, Recorded::Point, GoogleBlue).size(), 3);
        const QList<Recorded> lines = ofKind(calls, Recorded::Line, GoogleBlue);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].line.p2(), lines[1].line.p1());
        QCOMPARE(lines[0].line.p2().y(), 50 + 199.0 * 6 / 8);

        // Repaints draw the same without logging it again.
        QTest::failOnWarning("may exist repeated Update Flow NO");
        scene.record();
        QImage picture(800, 318, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        scene.render(&painter);
        painter.end();
        QVERIFY(watcher.boxes().isEmpty());
    }

    void viewKeepsSceneSize()
    {
        PtChartView view;
        view.resize(300, 200);
        view.show(); // a view without a scene takes resizes too
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        const RANK_DATA g =
            series(QStringLiteral("www.google.com"), {point(1, 50, QStringLiteral("2024-03-05"))});
        PtChartScene scene(&g, nullptr, nullptr, From, To, QRectF(0, 0, 300, 200));
        view.setScene(&scene);
        view.resize(640, 318);
        QCOMPARE(scene.sceneRect(), QRectF(0, 0, 640, 318));
        QCOMPARE(scene.GetChartBox(), QRectF(80, 50, 480, 200));

        // The next pass lays the chart out for the new size: day 5 of 10 in a 480 px box.
        QImage shot = view.grab().toImage();
        QCOMPARE(shot.size(), QSize(640, 318));
        const QPointF at = scene.FindGraphicItem(&g.FlowItems[0])->pos();
        QVERIFY(near(at.x(), 80 + 479.0 * 5 / 10));
        QVERIFY(near(at.y(), 50 + 199.0 * 50 / 52)); // rank 50 of an axis up to 52
        QCOMPARE(shot.pixelColor(int(at.x()), int(at.y())), GoogleBlue);

        // Hovering the dot shows its day's tool tip.
        const QPoint spot = view.mapFromScene(at);
        QHelpEvent help(QEvent::ToolTip, spot, view.viewport()->mapToGlobal(spot));
        QCoreApplication::sendEvent(view.viewport(), &help);
        QTRY_COMPARE(QToolTip::text(), scene.FindGraphicItem(&g.FlowItems[0])->toolTip());
        QVERIFY(QToolTip::text().contains(QStringLiteral("Google: 50 ")));
        QToolTip::hideText();
        view.setScene(nullptr);
    }

    // The rank line leaves a gap around each point: 6.5 px after the start, 6 px before the
    // end; points within 6.5 px of the previous one in both directions are left out.
    void lineSegments_data()
    {
        QTest::addColumn<QVector<QPointF>>("points");
        QTest::addColumn<QList<Segment>>("segments");

        QTest::newRow("one segment")
            << QVector<QPointF>{{0, 0}, {100, 0}} << QList<Segment>{{{6.5, 0}, {94, 0}}};
        QTest::newRow("close point left out")
            << QVector<QPointF>{{0, 0}, {3, 4}, {100, 0}} << QList<Segment>{{{6.5, 0}, {94, 0}}};
        QTest::newRow("8.5 px away but close in both directions")
            << QVector<QPointF>{{0, 0}, {6, 6}, {100, 0}} << QList<Segment>{{{6.5, 0}, {94, 0}}};
        // Direction (0.6, 0.8).
        QTest::newRow("diagonal") << QVector<QPointF>{{0, 0}, {30, 40}}
                                  << QList<Segment>{{{3.9, 5.2}, {26.4, 35.2}}};
        QTest::newRow("corner") << QVector<QPointF>{{0, 0}, {100, 0}, {100, 100}}
                                << QList<Segment>{{{6.5, 0}, {94, 0}}, {{100, 6.5}, {100, 94}}};
        QTest::newRow("backwards")
            << QVector<QPointF>{{100, 50}, {0, 50}} << QList<Segment>{{{93.5, 50}, {6, 50}}};
        QTest::newRow("negative coordinates keep their sign")
            << QVector<QPointF>{{-100, -20}, {0, -20}} << QList<Segment>{{{-93.5, -20}, {-6, -20}}};
        QTest::newRow("repeated point skipped")
            << QVector<QPointF>{{0, 0}, {0, 0}, {0, 50}} << QList<Segment>{{{0, 6.5}, {0, 44}}};
        QTest::newRow("one point") << QVector<QPointF>{{5, 5}} << QList<Segment>{};
        QTest::newRow("only repeated points")
            << QVector<QPointF>{{5, 5}, {5, 5}, {5, 5}} << QList<Segment>{};
    }

    void lineSegments()
    {
        QFETCH(QVector<QPointF>, points);
        QFETCH(QList<Segment>, segments);
        PtRankLine line;
        line.SetLines({points, QStringLiteral("label")});
        QCOMPARE(line.Points(), points);
        QCOMPARE(line.LinePath().elementCount(), segments.size() * 2);
        QCOMPARE(segmentsOf(line.LinePath()), segments);
    }

    void linePaintsGaps()
    {
        PtRankLine line;
        line.SetLines({{{10, 20}, {110, 20}}, QString()});
        const QImage image = painted(line, 130, 40);
        const QColor lineColor(180, 1, 222);
        QCOMPARE(image.pixelColor(60, 20), lineColor);
        QCOMPARE(image.pixelColor(60, 19), lineColor);
        // Gaps at both points (round caps reach one more pixel).
        QCOMPARE(image.pixelColor(12, 20), QColor(Qt::white));
        QCOMPARE(image.pixelColor(108, 20), QColor(Qt::white));
        QCOMPARE(image.pixelColor(60, 25), QColor(Qt::white));
    }

    // A marker is placed by its centre, halves in whole pixels.
    void pointPlacement()
    {
        PtRankPoint point;
        point.setPos(50, 50);
        QCOMPARE(point.pos(), QPointF(47, 47));
        QCOMPARE(point.Centre(), QPointF(50, 50));
        point.setPointSize(QSize(9, 9));
        QCOMPARE(point.pos(), QPointF(46, 46));
        QCOMPARE(point.boundingRect(), QRectF(0, 0, 9, 9));
        point.setPos(QPointF(10.5, 20.25));
        QCOMPARE(point.pos(), QPointF(6.5, 16.25));
        point.setPointSize(QSize(7, 3));
        QCOMPARE(point.pos(), QPointF(7.5, 19.25));
    }

    void pointPaint_data()
    {
        QTest::addColumn<int>("sharp");
        QTest::addColumn<QColor>("corner");
        QTest::newRow("circle") << int(PtRankPoint::Circle) << QColor(Qt::white);
        QTest::newRow("square") << int(PtRankPoint::Square) << QColor(255, 0, 0);
        QTest::newRow("any other value is a square") << 7 << QColor(255, 0, 0);
    }

    void pointPaint()
    {
        QFETCH(int, sharp);
        QFETCH(QColor, corner);
        PtRankPoint point;
        point.setPointSize(QSize(20, 20));
        point.setSharp(PtRankPoint::_Point_sharp(sharp));
        const QImage image = painted(point, 30, 30);
        QCOMPARE(image.pixelColor(10, 10), QColor(255, 0, 0));
        QCOMPARE(image.pixelColor(0, 0), corner);
        QCOMPARE(image.pixelColor(19, 19), corner);
        QCOMPARE(image.pixelColor(25, 25), QColor(Qt::white));
    }
};

LT_TEST_MAIN(TestPtChartScene)
#include "tst_ptchartscene.moc"
