#pragma once
// A file system of a few pages, mounted for a test at the record's folder,
// that the test can fill to the last byte: a full disk without filling the
// machine's. Mounting needs root; mounted() says whether it took.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>

class SmallDisk {
public:
    /// Mounted at `parent`/Tormell, where the tests keep the record.
    explicit SmallDisk(const QString& parent)
        : m_at(parent + QStringLiteral("/Tormell"))
    {
        QDir().mkpath(m_at);
        m_mounted = QProcess::execute(QStringLiteral("mount"),
                        {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                            QStringLiteral("size=256k"), QStringLiteral("tmpfs"), m_at})
            == 0;
    }
    ~SmallDisk() { m_mounted && QProcess::execute(QStringLiteral("umount"), {m_at}); }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return m_mounted; }

    /// Writes a file of zeros until no byte more fits.
    void fill() const
    {
        constexpr qsizetype kChunk = 512;
        QFile filler(m_at + QStringLiteral("/filler"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            qFatal("cannot fill %s", qPrintable(m_at));
        const QByteArray zeros(kChunk, '\0');
        while (filler.write(zeros) == kChunk) { }
    }

private:
    QString m_at;
    bool m_mounted = false;
};
