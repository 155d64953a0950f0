#pragma once
// How many events a fuzz run sends: its usual count, or the count a long run asks for through
// VARDELO_FUZZ_EVENTS (see vardelo_add_long_fuzz in tests/CMakeLists.txt).

#include <QtGlobal>

inline int fuzzEvents(int usual) {
    bool ok = false;
    const int asked = qEnvironmentVariableIntValue("VARDELO_FUZZ_EVENTS", &ok);
    return ok && asked > 0 ? asked : usual;
}
