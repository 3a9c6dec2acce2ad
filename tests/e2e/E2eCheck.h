// Checks for the end-to-end tests: a failed check records the line and what was expected in
// the test's context (a variable named ctx with Fail(line, text)) and ends the test. Each test
// file provides Show() overloads for the values it compares.
#pragma once

#include <string>

#define CHECK(cond)                                                                                \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            ctx.Fail(__LINE__, #cond);                                                             \
            return;                                                                                \
        }                                                                                          \
    } while (0)
#define CHECK_EQ(actual, expected)                                                                 \
    do {                                                                                           \
        auto a_ = (actual);                                                                        \
        auto e_ = (expected);                                                                      \
        if (!(a_ == e_)) {                                                                         \
            ctx.Fail(__LINE__,                                                                     \
                std::string(#actual) + " was \"" + Show(a_) + "\", expected \"" + Show(e_)         \
                    + "\"");                                                                       \
            return;                                                                                \
        }                                                                                          \
    } while (0)
