#pragma once

// Read access to the lookup tables themselves, for the unit's tests only: the rest of the
// program goes through the lookups of LocaleLookup.h.

#include <QMap>
#include <QString>

enum class LocaleTable {
    GoogleHlForLang,
    AreaForBing,
    DomainForLang,
    DomainForBing,
    TabIndexForEngine,
    GooleLrForLang,
    GoogleGlForArea,
};

// The table as the lookups see it (filled first if no lookup has run yet).
const QMap<QString, QString>& localeTableRows(LocaleTable table);
