#pragma once

#include <QStringList>

// Every engine variant the program knows, as "engine_country_language" keys: runs for
// Google, Yahoo, Bing, Ask and AOL. The country parts are the texts the engine pickers
// offer, so a proxy's country chosen from this list matches engine variants exactly.
extern const QStringList g_allEngineList;

// Encoding names for reports, in the order they are offered.
extern const QStringList reportEncodingList;
