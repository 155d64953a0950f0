#include "platform_environment.h"

#include <QFile>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace app {

namespace {

bool isOwnSocket(const QString& path) {
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISSOCK(st.st_mode) && st.st_uid == ::getuid();
}

} // namespace

PlatformEnvironment::PlatformEnvironment(QProcessEnvironment session,
                                         const std::function<bool(const QString&)>& isOwnSocket)
    : m_session(std::move(session)) {
    // D-Bus takes an empty address for none, like a missing one.
    const QString runtime = m_session.value(QStringLiteral("XDG_RUNTIME_DIR"));
    const bool hasBus = !m_session.value(QStringLiteral("DBUS_SESSION_BUS_ADDRESS")).isEmpty() ||
                        (!runtime.isEmpty() && isOwnSocket(runtime + QStringLiteral("/bus")));
    if (!hasBus)
        m_changes.push_back({"DBUS_SESSION_BUS_ADDRESS", kNoBus});
    // Qt falls back to a folder it makes in the temporary folder only when the session names no
    // runtime folder; the program itself makes no temporary file.
    if (runtime.isEmpty())
        m_changes.push_back({"TMPDIR", kNoTemporaryFolder});
}

PlatformEnvironment PlatformEnvironment::ofThisProcess() {
    return PlatformEnvironment(QProcessEnvironment::systemEnvironment(), isOwnSocket);
}

QProcessEnvironment PlatformEnvironment::forPlatform() const {
    QProcessEnvironment changed = m_session;
    for (const Change& c : m_changes)
        changed.insert(QString::fromLocal8Bit(c.name), QString::fromLocal8Bit(c.value));
    return changed;
}

void PlatformEnvironment::apply() const {
    for (const Change& c : m_changes)
        ::setenv(c.name.constData(), c.value.constData(), 1);
}

} // namespace app
