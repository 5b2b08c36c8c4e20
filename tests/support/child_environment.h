#pragma once
// The environment a test gives a program it starts: the test's own variables
// plus the sanitizers' settings of the run (suppressions, exit codes), so
// that a sanitizer build judges the child as it judges the test itself.
#include <cstdlib>
#include <string>
#include <vector>

inline std::vector<std::string> WithSanitizerSettings(std::vector<std::string> env)
{
    for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS", "TSAN_OPTIONS"})
        if (const char* value = std::getenv(name)) env.push_back(std::string(name) + "=" + value);
    return env;
}
