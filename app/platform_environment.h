#pragma once
// The process environment Qt's platform layer starts in.
//
// The program writes nothing and leaves no process behind, whatever the session offers. Left to
// itself, Qt's desktop layer does both when the session lacks a piece a desktop usually has:
//  - without a session bus, D-Bus "autolaunches" one: dbus-launch starts a dbus-daemon that keeps
//    running after the program ends and writes under $HOME/.dbus;
//  - without XDG_RUNTIME_DIR, Qt makes <temp folder>/runtime-<user>, only to look for a sandbox
//    marker in it, at start-up and again at every open action.
// So before the application object exists, a session that lacks one of them is described to Qt as
// lacking it, in a way that makes the lookup fail instead of making something. A session that has
// them is left as it is: its input method and accessibility bus are used as before. Programs the
// desktop opens for the learner (a browser, a mail program) get the session's own environment.

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>

#include <functional>
#include <vector>

namespace app {

// The session's environment, and what Qt's platform layer is told instead. main() makes one before
// the application object exists, applies it, and hands the session's own environment on to the
// desktop for the programs it launches.
class PlatformEnvironment {
public:
    struct Change {
        QByteArray name;
        QByteArray value;
        bool operator==(const Change& o) const { return name == o.name && value == o.value; }
    };

    // A bus address that names no bus: connecting fails at once, and nothing is launched.
    static constexpr const char* kNoBus = "unix:path=/dev/null";
    // A temporary folder in which nothing can be made.
    static constexpr const char* kNoTemporaryFolder = "/dev/null";

    // A session that gave the program `session`; `isOwnSocket` tells whether a path is a socket of
    // this user (where D-Bus itself looks for a session bus).
    PlatformEnvironment(QProcessEnvironment session, const std::function<bool(const QString&)>& isOwnSocket);
    // The session this process was started in.
    static PlatformEnvironment ofThisProcess();

    // What must change for this session.
    const std::vector<Change>& changes() const { return m_changes; }
    // The environment the platform layer is to start in: the session's, changed.
    QProcessEnvironment forPlatform() const;
    // Makes the changes in the process environment. Call it before the application object exists.
    void apply() const;
    // The session's own environment: what launched programs get.
    const QProcessEnvironment& forLaunchedPrograms() const { return m_session; }

private:
    QProcessEnvironment m_session;
    std::vector<Change> m_changes;
};

} // namespace app
