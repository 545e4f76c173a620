#pragma once
#include <string>

#include "platform/Clock.h"

namespace vedozer {

// The general date-and-time text of the United States locale: "3/16/2006 10:05:00 AM"; at
// exactly midnight only the date ("3/16/2006").
std::string generalDateTime(const LocalTime& t);

}  // namespace vedozer
