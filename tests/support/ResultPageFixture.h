#pragma once

#include "Records.h"

#include <QList>
#include <QPair>
#include <QString>

// One result page of tests/data/pages with its expected reading, as the page generator
// wrote it next to the page.
struct ResultPageFixture {
    QString name;
    EnuSearchEngineType engine = SE_Other;
    QString website;
    int pattern = -1;      // index of the chosen pattern; -1 for the fallback text
    int result = 0;        // result type after extraction, given 2 before it
    int foundPosition = 0; // 0: the website is not on the page
    QString foundUrl;
    QList<QPair<int, QString>> entries;
    QString page; // decoded as a browser would
    int bytes = 0;

    // Every page of the folder (tests/data/pages); a page whose expectation file is
    // missing or malformed comes back with an empty name.
    static QList<ResultPageFixture> loadAll(const QString& folder);
};
