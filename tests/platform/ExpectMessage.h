#pragma once
// Checks that a call raises exception type E with exactly the given message.

#include <gtest/gtest.h>

#include "platform/Exceptions.h"

template <class E, class F>
void ExpectMessage(F&& call, const AnsiString& message) {
    try {
        call();
        ADD_FAILURE() << "no exception, expected: " << message.c_str();
    } catch (const E& e) {
        EXPECT_EQ(e.Message, message);
    }
}
