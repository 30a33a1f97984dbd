// The option-file parser (Load and InitOption) on any file: no harm, no key or value
// holding a separator, the same map from both loaders, the written form loads back to
// the same map, and for plain ASCII files exactly the map the format describes.
#include "FuzzHub.h"
#include "options/OptionAndLog.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {
using OptionMap = QMap<QString, QString>;

QTemporaryDir* g_folder = nullptr;

[[noreturn]] void fail(const char* what, const QByteArray& input)
{
    std::fprintf(stderr, "%s\ninput: %s\n", what, input.toPercentEncoding(" #").constData());
    std::abort();
}

QString writeFile(const QString& name, const QByteArray& content)
{
    const QString path = g_folder->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(content) != content.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
    return path;
}

// The format, told once more from its description, for bytes below 0x80 (where every
// text decoding agrees): carriage returns dropped, lines at line feeds, empty lines
// skipped, pieces at every "#", key the first, value the second, the last line wins.
OptionMap expectedMap(const QByteArray& input)
{
    OptionMap map;
    QByteArray text = input;
    text.replace('\r', QByteArray());
    for (const QByteArray& line : text.split('\n')) {
        if (line.isEmpty())
            continue;
        const QList<QByteArray> pieces = line.split('#');
        if (pieces.size() < 2)
            continue;
        map.insert(QString::fromLatin1(pieces[0]), QString::fromLatin1(pieces[1]));
    }
    return map;
}

bool isAscii(const QByteArray& input)
{
    for (char c : input) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzHub::Prepare(argc, argv);
    g_folder = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/lumatrove-fuzz-XXXXXX"));
    if (!g_folder->isValid())
        std::abort();
    // The component puts its log and list files into the working folder it is built in;
    // build it in a private one and go back, so that libFuzzer's relative paths hold.
    const QString before = QDir::currentPath();
    QDir::setCurrent(g_folder->path());
    OptionAndLog::instance();
    QDir::setCurrent(before);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    OptionAndLog* options = OptionAndLog::instance();
    const QByteArray input(reinterpret_cast<const char*>(bytes), qsizetype(size));
    const QString path = writeFile(QStringLiteral("input.cfg"), input);

    // A key holding "#" can never come from a file: it must survive every load.
    const QString kept = QStringLiteral("kept#key");
    OptionMap loaded{{kept, QStringLiteral("kept value")}};
    options->Load(path, loaded);
    if (loaded.value(kept) != QStringLiteral("kept value"))
        fail("Load dropped or changed an entry it did not read", input);
    loaded.remove(kept);

    OptionMap fresh;
    const bool found = options->Load(path, fresh);
    if (found != !fresh.isEmpty())
        fail("Load's result is not whether the map holds an entry", input);
    if (fresh != loaded)
        fail("Load into a filled map and into an empty one differ", input);

    OptionMap viaInit;
    if (!options->InitOption(path, &viaInit))
        fail("InitOption could not open a readable file", input);
    if (viaInit != fresh)
        fail("InitOption and Load read different maps", input);

    for (auto it = fresh.cbegin(); it != fresh.cend(); ++it) {
        for (const QString* text : {&it.key(), &it.value()}) {
            if (text->contains(QLatin1Char('#')) || text->contains(QLatin1Char('\n')) ||
                text->contains(QLatin1Char('\r')))
                fail("a key or value holds a separator or line end", input);
        }
    }

    if (isAscii(input) && fresh != expectedMap(input))
        fail("the map is not the one the format describes", input);

    // The written form (key, "#", value, line feed, in key order) loads back unchanged.
    QByteArray written;
    for (auto it = fresh.cbegin(); it != fresh.cend(); ++it)
        written += it.key().toUtf8() + '#' + it.value().toUtf8() + '\n';
    OptionMap back;
    options->Load(writeFile(QStringLiteral("written.cfg"), written), back);
    if (back != fresh)
        fail("the written form does not load back to the same map", input);
    return 0;
}
