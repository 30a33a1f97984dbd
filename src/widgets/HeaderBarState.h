#pragma once

// The page shown below the header bar. The hub also uses 5 for "no previous page"; the
// help button keeps 4 and 5 in the header state. Only 0 to 3 select a page.
enum HeaderBarState : int {
    HBS_WebsiteView = 0,
    HBS_KeywordsView = 1,
    HBS_AddWebsite = 2,
    HBS_Settings = 3,
    HBS_HelpChecked = 4,
    HBS_None = 5,
};
