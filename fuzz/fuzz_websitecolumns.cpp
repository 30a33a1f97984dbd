// The texts of the Website columns SearchEngines and Keywords: the readers take any text
// without harm, and whatever the writer writes reads back as it was written.
#include "FuzzHub.h"
#include "WebsiteColumns.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

namespace {
void fail(const char* what, const QString& text)
{
    std::fprintf(stderr, "%s\ntext: %s\n", what, text.toUtf8().toPercentEncoding(" ").constData());
    std::abort();
}

QString textOf(FuzzedDataProvider& data, size_t maxBytes)
{
    // Both decodings: UTF-8 (invalid bytes become replacement characters) and raw UTF-16
    // code units, which also gives lone surrogates and every kind of blank.
    const std::string bytes = data.ConsumeRandomLengthString(maxBytes);
    if (data.ConsumeBool())
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    return QString(reinterpret_cast<const QChar*>(bytes.data()), qsizetype(bytes.size() / 2));
}

// A name the writer can carry: no "?" (the piece separator) and no line ends.
QString nameOf(FuzzedDataProvider& data)
{
    QString name = textOf(data, 40);
    name.remove(QLatin1Char('?'));
    name.remove(QLatin1Char('\n'));
    name.remove(QLatin1Char('\r'));
    return name;
}

void checkReaders(const QString& text)
{
    const std::vector<SEARCH_ENGINE> engines = ParseSearchEnginesString(text);
    for (const SEARCH_ENGINE& engine : engines) {
        for (const QString* name : {&engine.SearchEngine, &engine.Lang, &engine.Country}) {
            if (name->contains(QLatin1Char('\n')) || name->contains(QLatin1Char('?')))
                fail("an engine name holds a separator", text);
        }
    }
    // What the reader gave, written, reads back to the same list and the same text. (A
    // list read from a text the writer did not write need not survive whole: a host of
    // no known kind may carry a delay piece, which the writer never writes.)
    const QString written = CombineSearchEnginesString(engines);
    const std::vector<SEARCH_ENGINE> again = ParseSearchEnginesString(written);
    if (again.size() != engines.size())
        fail("engine list changes its length when written and read again", text);
    for (size_t i = 0; i < engines.size(); ++i) {
        const LTInt64 delay =
            FindSearchEngineType(engines[i].SearchEngine) == SE_Other ? 0 : engines[i].Interval;
        if (again[i].SearchEngine != engines[i].SearchEngine || again[i].Lang != engines[i].Lang ||
            again[i].Country != engines[i].Country || again[i].Interval != delay) {
            std::fprintf(
                stderr, "variant %zu: %s (%lld) -> %s (%lld)\n", i,
                CombineSearchEnginesString({engines[i]}).toUtf8().toPercentEncoding().constData(),
                static_cast<long long>(engines[i].Interval),
                CombineSearchEnginesString({again[i]}).toUtf8().toPercentEncoding().constData(),
                static_cast<long long>(again[i].Interval));
            fail("engine variant changes when written and read again", text);
        }
    }
    if (CombineSearchEnginesString(again) != written)
        fail("a written text does not give itself again when read and written", text);

    // Keywords: the editor stores its box trimmed as a whole; that text reads back as
    // lines that join to it again.
    const QString stored = text.trimmed();
    const QStringList keywords = ParseKeywordsString(stored);
    if (keywords.join(QLatin1Char('\n')) != stored)
        fail("keyword lines do not join to the stored text", text);
    if (ParseKeywordsString(text) != keywords)
        fail("keyword reader depends on blanks around the whole text", text);
    if (keywords.size() != stored.count(QLatin1Char('\n')) + 1)
        fail("keyword count is not the line count", text);
}

void checkRoundTrip(FuzzedDataProvider& data)
{
    static const char* const kinds[] = {"google", "bing", "yahoo", "ask", ""};
    std::vector<SEARCH_ENGINE> engines(data.ConsumeIntegralInRange<size_t>(0, 5));
    for (SEARCH_ENGINE& engine : engines) {
        engine.SearchEngine =
            nameOf(data) + QLatin1String(data.PickValueInArray(kinds)) + nameOf(data);
        engine.Lang = nameOf(data);
        engine.Country = nameOf(data);
        engine.Interval = data.ConsumeBool() ? data.ConsumeIntegral<LTInt64>()
                                             : data.ConsumeIntegralInRange<LTInt64>(-3, 60);
    }
    const QString text = CombineSearchEnginesString(engines);
    if (text.count(QLatin1Char('\n')) + 1 != qsizetype(qMax<size_t>(engines.size(), 1)))
        fail("writer: not one line per engine variant", text);
    const std::vector<SEARCH_ENGINE> back = ParseSearchEnginesString(text);
    if (back.size() != engines.size())
        fail("round trip changes the number of engine variants", text);
    for (size_t i = 0; i < engines.size(); ++i) {
        const SEARCH_ENGINE& written = engines[i];
        // A delay is written only when it is not its kind's default; a written delay
        // outside 32 bits is no number for the reader and gives 0.
        LTInt64 delay = written.Interval;
        if (FindSearchEngineType(written.SearchEngine) == SE_Other)
            delay = 0;
        else if (delay < INT32_MIN || delay > INT32_MAX)
            delay = 0;
        if (back[i].SearchEngine != written.SearchEngine || back[i].Lang != written.Lang ||
            back[i].Country != written.Country)
            fail("round trip changes a name", text);
        if (back[i].Interval != delay)
            fail("round trip changes a delay", text);
    }

    QStringList keywords;
    const int count = data.ConsumeIntegralInRange<int>(1, 6);
    for (int i = 0; i < count; ++i) {
        QString keyword = textOf(data, 30);
        keyword.remove(QLatin1Char('\n'));
        keywords << keyword;
    }
    const QString stored = keywords.join(QLatin1Char('\n'));
    // Only a text that the editor could have stored (trimmed as a whole) reads back as is.
    if (stored == stored.trimmed() && ParseKeywordsString(stored) != keywords)
        fail("keyword list does not read back as written", stored);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzHub::Prepare(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    if (data.ConsumeBool()) {
        checkReaders(textOf(data, size));
    } else {
        checkRoundTrip(data);
    }
    return 0;
}
