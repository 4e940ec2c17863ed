#pragma once
#include <cstdint>
#include <string>

// What the list of saved cities shows of a save without loading it: the names, the money and
// the date from the file's "main" section.
struct TCitySummary {
    std::string city, mayor;
    float money = 0;
    int32_t dateWeekDay = 0, dateDay = 0, dateMonth = 0, dateYear = 0;
    // Inhabitants living in the city when it was saved; −1 for files written before the count
    // was kept.
    int32_t inhabitants = -1;
};
