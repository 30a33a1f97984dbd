#pragma once

#include <cstdint>

// The outcome of one rank check.
enum RANK_REUSLT_TYPE : std::int32_t {
    RRT_NotStart = 0, // never ran
    RRT_Found = 1,    // the website's result was found; rank and found URL are set
    RRT_NotFound = 2, // not among the result pages read so far
    RRT_RequestFailed = 3,
    RRT_NoResult = 4, // a page without usable result links
};
