#pragma once

#include <span>

struct TDemoTable {
    const char* Name;
    const char* Parent;
    const char* Remark;
    const char* Russian;  // caption
    const char* English;
};

// Table structures of the demo: name, parent structure, remark, captions.
std::span<const TDemoTable> DemoTables();
