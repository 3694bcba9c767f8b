#pragma once

#include <string>
#include <vector>

#include "core/macro/MacroItem.h"

namespace veldrane {

// One macro: one section of the macro file, named after the macro. Its macro number is not part
// of it but its position among the file's sections. The fields keep the names of the file's keys.
struct MacroRecord
{
    std::string name;
    int DelayTimeSelStatus = 0;   // 1: waits between events were recorded; 0: each event waits 50 ms
    int LoopTimeSelStatus = 0;    // 1: the loop count applies; 0: the macro plays once
    std::string MacroLoopTimes;   // the loop count as the file holds it, "1" to "65535"
    std::vector<MacroItem> items; // the event list in order, "Item0" first

    friend bool operator==(const MacroRecord&, const MacroRecord&) = default;
};

} // namespace veldrane
