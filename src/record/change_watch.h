#pragma once
// Whether the record changed between two looks: written by another copy of
// the game, or its file created, removed or replaced. Kept apart from the
// connection, whose reads may open the file anew at any time: a read that
// meets a replaced file must not pass for a look that saw it.

#include "record/file_identity.h"

#include <optional>

namespace record {

class RecordFile;

class ChangeWatch {
public:
    explicit ChangeWatch(RecordFile& file)
        : m_file(file)
    {
    }

    /// Takes the first look, after the first read: the changes looked for are
    /// those since the record was first read.
    void firstLook();
    /// Takes a look as the record stands now, when whoever follows it is
    /// about to read it anew (after a save of this store's own, or a change seen).
    void lookAgain();
    /// Whether the record changed since the last look, which this becomes.
    /// Opens the file to read, and throws a Failure as a read would.
    bool changed();

private:
    struct Look {
        FileIdentity atPath; // the file the path names
        FileIdentity opened; // the file the connection has open, if any
        quint64 connection = 0; // which connection: a new one cannot tell what the last one saw
        qint64 dataVersion = 0; // SQLite's count of other connections' commits, on that connection

        friend bool operator==(const Look&, const Look&) = default;
    };
    Look now() const;

    RecordFile& m_file;
    std::optional<Look> m_last;
};

} // namespace record
