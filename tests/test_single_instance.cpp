#include "shell/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QUuid>

#include "Printers.h"

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

TEST(SingleInstance, SecondCopyRaisesTheFirst) {
    const QString name = "tolvaro-test-" + QUuid::createUuid().toString(QUuid::Id128);
    SingleInstance first(name);
    ASSERT_TRUE(first.TryBecomePrimary());
    QSignalSpy raised(&first, &SingleInstance::RaiseRequested);

    SingleInstance second(name);
    EXPECT_FALSE(second.TryBecomePrimary());
    EXPECT_TRUE(second.AskPrimaryToRaise());
    EXPECT_TRUE(raised.count() > 0 || raised.wait(5000));
}

TEST(SingleInstance, StaleSocketIsTakenOver) {
    const QString name = "tolvaro-test-" + QUuid::createUuid().toString(QUuid::Id128);
    QFile leftBehind(QDir::tempPath() + "/" + name); // as a crashed copy leaves it
    ASSERT_TRUE(leftBehind.open(QIODevice::WriteOnly));
    leftBehind.close();
    SingleInstance next(name);
    EXPECT_TRUE(next.TryBecomePrimary());
    SingleInstance later(name);
    EXPECT_FALSE(later.TryBecomePrimary());
}

} // namespace
} // namespace tolvaro
