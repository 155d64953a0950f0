// What the program tells Qt's platform layer about the session before it starts: a session that
// lacks a bus or a runtime folder is described as lacking it; one that has them is left alone.

#include "platform_environment.h"

#include <QTest>

using app::PlatformEnvironment;
using Changes = std::vector<PlatformEnvironment::Change>;

Q_DECLARE_METATYPE(Changes)

class TstPlatformEnvironment : public QObject {
    Q_OBJECT

private slots:
    void changes_data();
    void changes();
    void launchedProgramsGetTheSessionsEnvironment();
};

void TstPlatformEnvironment::changes_data() {
    QTest::addColumn<QStringList>("session"); // NAME=value
    QTest::addColumn<QString>("socket");      // the one path that is a socket of the user's
    QTest::addColumn<Changes>("expected");

    const PlatformEnvironment::Change noBus{"DBUS_SESSION_BUS_ADDRESS", PlatformEnvironment::kNoBus};
    const PlatformEnvironment::Change noTemp{"TMPDIR", PlatformEnvironment::kNoTemporaryFolder};
    QTest::newRow("bare X session") << QStringList{"DISPLAY=:0"} << QString() << Changes{noBus, noTemp};
    QTest::newRow("bus named, no runtime folder")
        << QStringList{"DBUS_SESSION_BUS_ADDRESS=unix:path=/run/bus"} << QString() << Changes{noTemp};
    QTest::newRow("empty bus address") << QStringList{"DBUS_SESSION_BUS_ADDRESS=", "XDG_RUNTIME_DIR=/run/user/7"}
                                       << QString() << Changes{noBus};
    QTest::newRow("user bus in the runtime folder")
        << QStringList{"XDG_RUNTIME_DIR=/run/user/7"} << "/run/user/7/bus" << Changes{};
    QTest::newRow("runtime folder without a bus")
        << QStringList{"XDG_RUNTIME_DIR=/run/user/7"} << "/elsewhere/bus" << Changes{noBus};
    QTest::newRow("full desktop session")
        << QStringList{"DBUS_SESSION_BUS_ADDRESS=unix:path=/run/user/7/bus", "XDG_RUNTIME_DIR=/run/user/7"}
        << "/run/user/7/bus" << Changes{};
}

void TstPlatformEnvironment::changes() {
    QFETCH(QStringList, session);
    QFETCH(QString, socket);
    QFETCH(Changes, expected);
    QProcessEnvironment env;
    for (const QString& s : session)
        env.insert(s.section(QLatin1Char('='), 0, 0), s.section(QLatin1Char('='), 1));
    const Changes got = PlatformEnvironment(env, [&](const QString& path) { return path == socket; }).changes();
    QCOMPARE(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        QCOMPARE(got[i].name, expected[i].name);
        QCOMPARE(got[i].value, expected[i].value);
    }
}

// A browser or mail program opened for the learner must not inherit the descriptions meant for
// Qt: it would find no bus and no temporary folder.
void TstPlatformEnvironment::launchedProgramsGetTheSessionsEnvironment() {
    QProcessEnvironment session;
    session.insert(QStringLiteral("DISPLAY"), QStringLiteral(":0"));
    session.insert(QStringLiteral("TMPDIR"), QStringLiteral("/var/tmp"));
    const PlatformEnvironment environment(session, [](const QString&) { return false; });
    const QProcessEnvironment platform = environment.forPlatform();
    QCOMPARE(platform.value(QStringLiteral("DBUS_SESSION_BUS_ADDRESS")),
             QString::fromLatin1(PlatformEnvironment::kNoBus));
    QCOMPARE(platform.value(QStringLiteral("TMPDIR")), QString::fromLatin1(PlatformEnvironment::kNoTemporaryFolder));
    QCOMPARE(platform.value(QStringLiteral("DISPLAY")), QStringLiteral(":0"));
    const QProcessEnvironment launched = environment.forLaunchedPrograms();
    QVERIFY(!launched.contains(QStringLiteral("DBUS_SESSION_BUS_ADDRESS")));
    QCOMPARE(launched.value(QStringLiteral("TMPDIR")), QStringLiteral("/var/tmp"));
    QCOMPARE(launched.value(QStringLiteral("DISPLAY")), QStringLiteral(":0"));
}

QTEST_GUILESS_MAIN(TstPlatformEnvironment)
#include "tst_platform_environment.moc"
