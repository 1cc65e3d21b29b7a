#pragma once
// A stretch of a test run as an ordinary user. Root passes every permission
// check, so a test of a file or folder the player may not write drops root's
// effective ids while it lives; what it creates belongs to that user.

#include <QFile>
#include <QString>
#include <sys/types.h>
#include <unistd.h>

class Unprivileged {
public:
    /// `folder`, the test's own and still empty, is handed to that user first.
    explicit Unprivileged(const QString& folder)
        : m_root(::geteuid() == 0)
    {
        // Real ids too, so that a child it starts is an ordinary process, not
        // one Qt refuses to run as setuid; root stays the saved id, to return to.
        if (m_root && ::chown(QFile::encodeName(folder).constData(), kNobody, kNobody) == 0
            && ::setresgid(kNobody, kNobody, 0) == 0)
            static_cast<void>(::setresuid(kNobody, kNobody, 0)); // ordinary() tells whether it took
    }
    ~Unprivileged()
    {
        if (m_root && (::setresuid(0, 0, 0) != 0 || ::setresgid(0, 0, 0) != 0))
            qFatal("cannot take root's ids back");
    }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;

    /// Whether permissions now bind: false for a root that could not drop its ids.
    bool ordinary() const { return ::geteuid() != 0; }

private:
    static constexpr uid_t kNobody = 65534; // Debian's "nobody" and "nogroup"
    bool m_root;
};
