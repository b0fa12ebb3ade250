#pragma once

#include <QString>
#include <functional>

// Fills a database with a believable dictionary: system tables, table
// structures whose tables exist with rows, forms, views, a generator,
// procedures, parameters, schemes, users and roles, local resources of every
// section kind in RUSSIAN and ENGLISH, and the standard languages.
//
// Variant 1 is the main demo ("DEMO"); variant 2 a smaller, partly different
// dictionary ("DEMO2") to copy to and from. `Size` scales the rows per table
// and adds generated structures and resource sections (size 1: about 30
// tables; size 10: a few thousand structures) for tests and benchmarks.
struct TDemoOptions {
    QString Alias;
    int Size = 1;
    int Variant = 1;
};

struct TDemoSummary {
    int Structures = 0;
    int Tables = 0;
    int Rows = 0;
    int Texts = 0;
};

// The database must be connected and must not hold a dictionary yet.
TDemoSummary GenerateDemoDictionary(const TDemoOptions& options,
                                    const std::function<void(const QString&)>& progress = {});
