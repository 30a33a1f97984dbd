#include "WebsiteColumns.h"

namespace {
// Only line ends are cut: a country such as "Canada " (the Yahoo catalogue's French
// Canada) keeps its blank even when its variant is the last line, so statements that
// match the stored text find it again. A line end is a line feed, or a carriage return
// and a line feed: a lone carriage return belongs to a name, since the writer never puts
// one between lines and a name read from an older text may end in one.
QString withoutOuterLineEnds(const QString& text)
{
    const QChar cr = QLatin1Char('\r');
    const QChar lf = QLatin1Char('\n');
    qsizetype begin = 0;
    qsizetype end = text.size();
    for (;;) {
        if (begin < end && text.at(begin) == lf)
            begin += 1;
        else if (begin + 1 < end && text.at(begin) == cr && text.at(begin + 1) == lf)
            begin += 2;
        else
            break;
    }
    while (end > begin && text.at(end - 1) == lf) {
        --end;
        if (end > begin && text.at(end - 1) == cr)
            --end;
    }
    return text.mid(begin, end - begin);
}

bool writesDelay(const SEARCH_ENGINE& engine)
{
    switch (FindSearchEngineType(engine.SearchEngine)) {
    case SE_Google:
        return engine.Interval != 50;
    case SE_Bing:
    case SE_Yahoo:
        return engine.Interval != 0;
    case SE_Other:
        break;
    }
    return false;
}

LTInt64 defaultDelay(const QString& host)
{
    return FindSearchEngineType(host) == SE_Google ? 50 : 0;
}
} // namespace

QString CombineSearchEnginesString(const std::vector<SEARCH_ENGINE>& engines)
{
    QString text;
    const QChar separator = QLatin1Char('?');
    for (std::size_t i = 0; i < engines.size(); ++i) {
        const SEARCH_ENGINE& engine = engines[i];
        if (i > 0)
            text += QLatin1Char('\n');
        text += engine.SearchEngine + separator + engine.Lang + separator + engine.Country;
        if (writesDelay(engine))
            text += separator + QString::number(engine.Interval, 10);
    }
    return text;
}

std::vector<SEARCH_ENGINE> ParseSearchEnginesString(const QString& text)
{
    std::vector<SEARCH_ENGINE> engines;
    const QString lines = withoutOuterLineEnds(text);
    // The text of an empty list reads back as an empty list.
    if (lines.isEmpty())
        return engines;
    const QStringList parts = lines.split(QLatin1Char('\n'), Qt::KeepEmptyParts);
    engines.reserve(std::size_t(parts.size()));
    for (const QString& part : parts) {
        const QStringList pieces = part.split(QLatin1Char('?'), Qt::KeepEmptyParts);
        SEARCH_ENGINE engine;
        engine.SearchEngine = pieces.at(0);
        engine.Interval = defaultDelay(engine.SearchEngine);
        if (pieces.size() > 1)
            engine.Lang = pieces.at(1);
        if (pieces.size() > 2)
            engine.Country = pieces.at(2);
        // A fifth piece means the line is not ours: keep the default then.
        if (pieces.size() == 4)
            engine.Interval = pieces.at(3).toInt(nullptr, 10);
        engines.push_back(engine);
    }
    return engines;
}

QStringList ParseKeywordsString(const QString& text)
{
    // The editor stores its box trimmed as a whole; lines are kept exactly as they are,
    // because stored measurements name their keyword as it stood.
    return text.trimmed().split(QLatin1Char('\n'), Qt::KeepEmptyParts);
}
