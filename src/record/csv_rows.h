#pragma once
// The rows of an RFC 4180 text read as they come, in bounded memory: fields
// split at commas, a field that begins with a quote runs to its closing
// quote (a doubled quote inside it is one quote), rows end at LF or CRLF.
// A row that cannot be read (a quote left open, or a row past the size any
// round takes) is told as such, and reading goes on at the line after it.
// The text is UTF-8, or CP932 (Shift_JIS as Windows writes it) as a
// Japanese spreadsheet saves it: whichever reads a text known to be there.

#include <QIODevice>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

namespace record {

class CsvRows {
public:
    /// Reads `device` from where it stands, in the encoding in which its
    /// first bytes hold `known` (UTF-8 when neither does); a byte order mark in front is skipped.
    CsvRows(QIODevice& device, QString known);

    enum class Encoding {
        Utf8,
        Cp932,
        Unknown, // neither holds the known text, and the bytes are not UTF-8 text: read as UTF-8
    };
    Encoding encoding() const { return m_encoding; }

    enum class Next {
        Row, // cells() holds the row's fields
        Unreadable, // the row from line() on could not be read; the next begins at the line after
        End,
    };
    /// The next row that is not blank.
    Next next();

    const QStringList& cells() const { return m_cells; }
    /// The line, from 1, on which the row last read begins.
    qint64 line() const { return m_rowLine; }
    /// The bytes read from the device so far.
    qint64 bytesRead() const { return m_bytesRead; }
    /// Whether the device failed a read: the rows after it were not read.
    bool readFailed() const { return m_readFailed; }
    /// Whether some bytes so far were not of the encoding: each stands as U+FFFD in its row.
    bool invalidText() const { return m_decoder.hasError(); }

private:
    enum class Parse { Row, Unreadable, NeedMore };
    Parse parseRow();
    /// Reads more of the device into the text; false at its end.
    bool readMore();
    /// Passes over the row that began at m_rowStart, to the line after its first line.
    void skipLine();
    void chooseEncoding(const QByteArray& first);

    QIODevice& m_device;
    QString m_known;
    QStringDecoder m_decoder;
    Encoding m_encoding = Encoding::Utf8;
    QString m_text; // what is read and not yet gone through: the row being read onward
    qsizetype m_rowStart = 0; // where in m_text the row being read begins
    qint64 m_line = 1; // the line at m_rowStart
    qint64 m_rowLine = 0;
    qint64 m_bytesRead = 0;
    bool m_atEnd = false;
    bool m_readFailed = false;
    QStringList m_cells;
};

} // namespace record
