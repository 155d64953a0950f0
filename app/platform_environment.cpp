#include "platform_environment.h"

#include <QFile>

#include <cstdlib>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace app {

namespace {

std::optional<QProcessEnvironment>& sessionEnvironment() {
    static std::optional<QProcessEnvironment> session;
    return session;
}

bool isOwnSocket(const QString& path) {
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISSOCK(st.st_mode) && st.st_uid == ::getuid();
}

} // namespace

std::vector<PlatformEnvironment::Change>
PlatformEnvironment::changesFor(const QProcessEnvironment& session,
                                const std::function<bool(const QString&)>& isOwnSocket) {
    std::vector<Change> changes;
    // D-Bus takes an empty address for none, like a missing one.
    const QString runtime = session.value(QStringLiteral("XDG_RUNTIME_DIR"));
    const bool hasBus = !session.value(QStringLiteral("DBUS_SESSION_BUS_ADDRESS")).isEmpty() ||
                        (!runtime.isEmpty() && isOwnSocket(runtime + QStringLiteral("/bus")));
    if (!hasBus)
        changes.push_back({"DBUS_SESSION_BUS_ADDRESS", kNoBus});
    // Qt falls back to a folder it makes in the temporary folder only when the session names no
    // runtime folder; the program itself makes no temporary file.
    if (runtime.isEmpty())
        changes.push_back({"TMPDIR", kNoTemporaryFolder});
    return changes;
}

void PlatformEnvironment::prepare() {
    const QProcessEnvironment session = QProcessEnvironment::systemEnvironment();
    sessionEnvironment() = session;
    for (const Change& c : changesFor(session, isOwnSocket))
        ::setenv(c.name.constData(), c.value.constData(), 1);
}

QProcessEnvironment PlatformEnvironment::forLaunchedPrograms() {
    return sessionEnvironment().value_or(QProcessEnvironment::systemEnvironment());
}

} // namespace app
