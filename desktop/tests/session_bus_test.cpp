// F2 through the desktop portal, and bbcolour-copy, on a private session bus
// with a stand-in portal of the test's own.
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>

#include "dbus/copy_service.h"
#include "hotkey/portal/portal_hotkey.h"
#include "window/text_codec.h"
#include "window_fixture.h"

namespace bbcolour::desktop {
namespace {

class SessionBusTest : public testing::Test {
protected:
    void SetUp() override {
        bus_.setProgram("dbus-daemon");
        // Our own configuration: the standard session one would start any
        // portal installed on the machine for the "missing portal" case.
        bus_.setArguments({"--config-file=" TEST_BUS_CONFIG, "--nofork", "--print-address"});
        bus_.start();
        ASSERT_TRUE(bus_.waitForReadyRead(20000));
        address_ = QString::fromUtf8(bus_.readLine()).trimmed();
        connection_ = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(address_, QStringLiteral("test-%1").arg(++buses_)));
        ASSERT_TRUE(connection_->isConnected());
    }
    void TearDown() override {
        for (QProcess* p : {&portal_, &bus_}) {
            p->kill();
            p->waitForFinished();
        }
        QDBusConnection::disconnectFromBus(connection_->name());
    }
    QProcessEnvironment BusEnvironment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", address_);
        return env;
    }
    void StartPortal(const char* mode) {
        portal_.setProcessEnvironment(BusEnvironment());
        portal_.start(FAKE_PORTAL, {mode});
        ASSERT_TRUE(portal_.waitForReadyRead(20000));
        ASSERT_EQ(portal_.readLine().trimmed(), "ready");
    }
    QDBusMessage CallPortalControl(const char* method) {
        return connection_->call(
            QDBusMessage::createMethodCall("org.freedesktop.portal.Desktop", "/control", "org.bbcolour.test.FakePortal",
                                           method));
    }
    // A shown window whose hotkey is the portal's, events bound as in the program.
    std::unique_ptr<MainWindow> OpenWindow() {
        auto window = std::make_unique<MainWindow>(generator_, std::make_unique<PortalHotkey>(*connection_));
        BindHandlers(*window);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    static inline int buses_ = 0;
    RandomGenerator generator_;
    QProcess bus_, portal_;
    QString address_;
    std::unique_ptr<QDBusConnection> connection_;
};

TEST_F(SessionBusTest, PortalIsAskedForF2AndActivatedCopies) {
    StartPortal("ok");
    auto window = OpenWindow();
    EXPECT_EQ(window->BindHotkey(window.get(), window->HotkeyLabel(), 0, 113), 33001);
    EXPECT_TRUE(WaitFor([&] { return CallPortalControl("Trigger").arguments().value(0).toString() == "F2"; }));
    window->InputBox()->insertPlainText("ok");
    QString title;
    BoxWatcher boxes([&](QMessageBox* box, int) {
        title = box->windowTitle();
        return true;
    });
    CallPortalControl("Press");
    EXPECT_TRUE(WaitFor([&] { return boxes.Count() == 1; }));
    EXPECT_EQ(title, QString::fromUtf8("信息："));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), TextToUnicode(GetControlText(window->CodeBox())));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "[color=#2923BE]o[/color][color=#84E16C]k[/color]");
}

TEST_F(SessionBusTest, FailingSilentOrMissingPortalLeavesTheProgramRunning) {
    for (const char* mode : {"error", "silent", "none"}) {
        SCOPED_TRACE(mode);
        if (std::string_view(mode) != "none") StartPortal(mode);
        auto window = OpenWindow();
        EXPECT_EQ(window->BindHotkey(window.get(), window->HotkeyLabel(), 0, 113), 0);
        QTest::keyClicks(window->InputBox(), "x");
        EXPECT_FALSE(GetControlText(window->CodeBox()).empty());
        portal_.kill();
        portal_.waitForFinished();
    }
}

TEST_F(SessionBusTest, CopyCommandDoesWhatF2Does) {
    auto window = OpenWindow();
    CopyService service(window->HotkeyLabel(), 33001);
    ASSERT_TRUE(service.Publish(*connection_));
    window->InputBox()->insertPlainText("c");
    BoxWatcher boxes([](QMessageBox*, int) { return true; });
    QProcess copy;
    copy.setProcessEnvironment(BusEnvironment());
    copy.start(BBCOLOUR_COPY, QStringList());
    ASSERT_TRUE(WaitFor([&] { return copy.state() == QProcess::NotRunning; }));
    EXPECT_EQ(copy.exitCode(), 0) << copy.readAllStandardError().toStdString();
    EXPECT_TRUE(WaitFor([&] { return boxes.Count() == 1; }));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "[color=#2923BE]c[/color]");
}

TEST_F(SessionBusTest, CopyCommandWithoutAWindowFails) {
    QProcess copy;
    copy.setProcessEnvironment(BusEnvironment());
    copy.start(BBCOLOUR_COPY, QStringList());
    ASSERT_TRUE(copy.waitForFinished(30000));
    EXPECT_EQ(copy.exitCode(), 1);
    const QList<QByteArray> lines = copy.readAllStandardError().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith("bbcolour-copy: no bbcolour window is running")) << lines[0].toStdString();
    EXPECT_TRUE(copy.readAllStandardOutput().isEmpty());
}

}  // namespace
}  // namespace bbcolour::desktop
