#include "shell/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUuid>

#include "Printers.h"

#include <gtest/gtest.h>

#include <unistd.h>

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

// One copy per desktop session: each display has a socket of its own, a screen of a display
// belongs to it; without a runtime folder the socket is in the temporary folder.
TEST(SingleInstance, OneSocketPerDisplay) {
    const QString uid = QString::number(::getuid());
    const struct {
        const char *runtime, *display, *wayland, *socket;
    } cases[] = {
        {"/run/user/7", ":0", "", "/run/user/7/tolvaro-UID-_0"},
        {"/run/user/7", ":0.1", "", "/run/user/7/tolvaro-UID-_0"},
        {"/run/user/7", ":57", "", "/run/user/7/tolvaro-UID-_57"},
        {"/run/user/7", "localhost:10.0", "", "/run/user/7/tolvaro-UID-localhost_10"},
        {"/run/user/7", "", "wayland-0", "/run/user/7/tolvaro-UID-wayland-0"},
        {"/run/user/7", "", "/tmp/a/b", "/run/user/7/tolvaro-UID-_tmp_a_b"},
        {"/run/user/7", "", "", "/run/user/7/tolvaro-UID-none"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SingleInstance::SessionName(c.runtime, c.display, c.wayland),
                  QString(c.socket).replace("UID", uid))
            << c.display << c.wayland;
    }
    EXPECT_EQ(SingleInstance::SessionName("", ":0", ""),
              QDir::tempPath() + "/tolvaro-" + uid + "-_0");

    // A copy on one display does not stop one on another.
    QTemporaryDir runtime;
    SingleInstance first(SingleInstance::SessionName(runtime.path(), ":1", ""));
    SingleInstance other(SingleInstance::SessionName(runtime.path(), ":2", ""));
    SingleInstance again(SingleInstance::SessionName(runtime.path(), ":1.0", ""));
    EXPECT_TRUE(first.TryBecomePrimary());
    EXPECT_TRUE(other.TryBecomePrimary());
    EXPECT_FALSE(again.TryBecomePrimary());
}

} // namespace
} // namespace tolvaro
