#pragma once

#include <QString>

// The maker's identity as the program shows and uses it: the web domain that scopes the
// settings store and the addresses the reports carry by default.
namespace MakerInfo {

inline QString OrganizationName()
{
    return QStringLiteral("Brindlecor");
}
inline QString OrganizationDomain()
{
    return QStringLiteral("brindlecor.example");
}
inline QString HomePage()
{
    return QStringLiteral("http://www.brindlecor.example");
}

} // namespace MakerInfo
