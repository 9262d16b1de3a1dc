#pragma once

#include <QTest>

#include <gtest/gtest.h>

// Waits up to `ms` milliseconds for a condition while Qt's events run, and fails the test when
// it does not come true. Qt's own QTRY_ macros report to QTest, which a gtest run never hears.
#define ASSERT_SOON(condition, ms)                                                                 \
    ASSERT_TRUE(QTest::qWaitFor([&] { return static_cast<bool>(condition); }, ms))                 \
        << "not within " << (ms) << " ms: " #condition
