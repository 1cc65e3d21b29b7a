#include "record/csv_rows.h"

namespace record {

namespace {

// Read from the device at once: large enough that a row is rarely split.
constexpr qint64 kChunkBytes = 64 * 1024;
// A row longer than this is no round's: a round's row is under 1,000
// characters. It bounds what is held for one row, whatever the file holds.
constexpr qsizetype kMaxRowChars = 64 * 1024;

} // namespace

CsvRows::CsvRows(QIODevice& device, QString known)
    : m_device(device)
    , m_known(std::move(known))
{
}

CsvRows::Next CsvRows::next()
{
    for (;;) {
        switch (parseRow()) {
        case Parse::Row:
            if (m_cells.size() == 1 && m_cells.front().isEmpty())
                continue; // a blank line
            return Next::Row;
        case Parse::NeedMore:
            if (m_text.size() - m_rowStart < kMaxRowChars) {
                readMore();
                if (m_rowStart == m_text.size() && m_atEnd)
                    return Next::End;
                continue;
            }
            [[fallthrough]];
        case Parse::Unreadable:
            m_rowLine = m_line;
            skipLine();
            return Next::Unreadable;
        }
    }
}

CsvRows::Parse CsvRows::parseRow()
{
    m_cells.clear();
    const QStringView text(m_text);
    const qsizetype end = text.size();
    if (m_rowStart == end)
        return Parse::NeedMore;
    qsizetype p = m_rowStart;
    for (;;) {
        QString cell;
        if (p < end && text[p] == u'"') {
            ++p;
            for (;;) {
                const qsizetype quote = text.indexOf(u'"', p);
                if (quote < 0)
                    return m_atEnd ? Parse::Unreadable : Parse::NeedMore; // a quote left open
                cell += text.sliced(p, quote - p);
                if (quote + 1 == end && !m_atEnd)
                    return Parse::NeedMore; // a doubled quote may be split
                if (quote + 1 < end && text[quote + 1] == u'"') {
                    cell += u'"';
                    p = quote + 2;
                    continue;
                }
                p = quote + 1;
                break;
            }
            // What follows a closed quote must end the field: anything else
            // means a quote was out of place, and the row is not what was written.
            if (p + 1 == end && text[p] == u'\r' && !m_atEnd)
                return Parse::NeedMore;
            if (p < end && text.sliced(p).startsWith(u"\r\n"))
                ++p;
            if (p < end && text[p] != u',' && text[p] != u'\n')
                return Parse::Unreadable;
        } else {
            qsizetype stop = p;
            while (stop < end && text[stop] != u',' && text[stop] != u'\n')
                ++stop;
            if (stop == end && !m_atEnd)
                return Parse::NeedMore;
            const bool crlf = stop < end && text[stop] == u'\n' && stop > p && text[stop - 1] == u'\r';
            cell = text.sliced(p, stop - p - (crlf ? 1 : 0)).toString();
            p = stop;
        }
        m_cells.append(cell);
        if (p < end && text[p] == u',') {
            ++p;
            continue;
        }
        if (p < end) // a line feed
            ++p;
        m_rowLine = m_line;
        m_line += text.sliced(m_rowStart, p - m_rowStart).count(u'\n');
        m_rowStart = p;
        return Parse::Row;
    }
}

bool CsvRows::readMore()
{
    if (m_atEnd)
        return false;
    m_text.remove(0, m_rowStart); // what is gone through is not kept
    m_rowStart = 0;
    QByteArray bytes(kChunkBytes, Qt::Uninitialized);
    const qint64 read = m_device.read(bytes.data(), bytes.size());
    if (read <= 0) {
        m_readFailed = read < 0;
        m_atEnd = true;
        return false;
    }
    bytes.truncate(read);
    if (m_bytesRead == 0)
        chooseEncoding(bytes);
    m_bytesRead += read;
    m_text += m_decoder.decode(bytes);
    return true;
}

void CsvRows::chooseEncoding(const QByteArray& first)
{
    m_decoder = QStringDecoder(QStringDecoder::Utf8);
    const QString asUtf8 = m_decoder.decode(first); // a sequence cut at the end of the read is no error
    const bool utf8Text = !m_decoder.hasError() && !asUtf8.contains(QChar::Null);
    m_decoder = QStringDecoder(QStringDecoder::Utf8);
    if (asUtf8.contains(m_known))
        return;
    QStringDecoder cp932("CP932");
    if (cp932.isValid() && QString(cp932.decode(first)).contains(m_known)) {
        m_decoder = QStringDecoder("CP932");
        m_encoding = Encoding::Cp932;
    } else if (!utf8Text) {
        m_encoding = Encoding::Unknown;
    }
}

void CsvRows::skipLine()
{
    for (;;) {
        const qsizetype lineFeed = m_text.indexOf(u'\n', m_rowStart);
        if (lineFeed >= 0) {
            m_rowStart = lineFeed + 1;
            ++m_line;
            return;
        }
        m_rowStart = m_text.size();
        if (!readMore())
            return;
    }
}

} // namespace record
