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
// The page whose text the overview's news panel shows and whose "lt_ver" meta attribute
// names the newest version.
inline QString NewsPage()
{
    return QStringLiteral("http://www.brindlecor.example/lumatrove/news.html");
}

// The pages the help menu opens; all but the update page say where the visitor came from.
inline QString HelpPage()
{
    return HomePage() + QStringLiteral("/help/?src=mac");
}
inline QString SupportPage()
{
    return HomePage() + QStringLiteral("/support/?src=mac");
}
inline QString HomePageFromProgram()
{
    return HomePage() + QStringLiteral("/?src=mac");
}
inline QString UpdatePage()
{
    return HomePage() + QStringLiteral("/update/");
}

} // namespace MakerInfo
