#pragma once

#include "Records.h"

#include <QString>
#include <QStringList>

#include <vector>

// The texts in which a Website row keeps its two lists.
//
// SearchEngines: one line per engine variant, "host?language?country", followed by
// "?delay" only when the delay differs from the default of the host's engine kind;
// lines joined by "\n", none after the last.
// Keywords: one keyword per line, joined by "\n", as the website editor stores them.

QString CombineSearchEnginesString(const std::vector<SEARCH_ENGINE>& engines);
std::vector<SEARCH_ENGINE> ParseSearchEnginesString(const QString& text);
QStringList ParseKeywordsString(const QString& text);
