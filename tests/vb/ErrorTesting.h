#pragma once

#include "platform/vb/RuntimeError.h"

#include <gtest/gtest.h>

#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

// Runs `f` and returns the number of the run-time error it raised, or 0 when it raised none.
template <class F> int errorNumberOf(F &&f)
{
    try {
        f();
    } catch (const vb::RuntimeError &e) {
        return e.number();
    }
    return 0;
}
