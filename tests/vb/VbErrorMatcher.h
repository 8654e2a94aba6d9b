// Checks that a statement raises the runtime's error with the given number.
#pragma once

#include "platform/vb/Err.h"

#include <gtest/gtest.h>

#define EXPECT_VB_ERROR(number, statement)                                                 \
    do {                                                                                   \
        try {                                                                              \
            (void)(statement);                                                             \
            ADD_FAILURE() << #statement " raised nothing, expected error " << (number);    \
        } catch (const vb::Error& e) {                                                     \
            EXPECT_EQ(e.Number(), (number)) << #statement ": " << e.Description();         \
        }                                                                                  \
    } while (0)
