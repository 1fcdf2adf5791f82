// An oracle check for fuzz targets: a broken invariant aborts with its text,
// which libFuzzer reports as a crash and keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

#define CHECK(condition)                                                                   \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)
