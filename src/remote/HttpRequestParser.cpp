#include "HttpRequestParser.h"

#include <cstring>
#include <utility>

namespace {

// A chunk's size line: the size in hexadecimal and, rarely, an extension.
constexpr qsizetype MaxChunkSizeLine = 1024;
// The hexadecimal digits of the largest chunk size read as a number; any
// longer one is too large for a body anyway.
constexpr qsizetype MaxChunkSizeDigits = 8;
constexpr qsizetype MaxLengthDigits = 15;

bool isTokenCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
           || std::strchr("!#$%&'*+-.^_`|~", c) != nullptr;
}

bool isToken(QByteArrayView text)
{
    if (text.isEmpty()) {
        return false;
    }
    for (char c : text) {
        if (c == '\0' || !isTokenCharacter(c)) {
            return false;
        }
    }
    return true;
}

bool isControl(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && byte != '\t') || byte == 0x7f;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView trimmedSpace(QByteArrayView text)
{
    while (!text.isEmpty() && isSpace(text.front())) {
        text = text.sliced(1);
    }
    while (!text.isEmpty() && isSpace(text.back())) {
        text.chop(1);
    }
    return text;
}

bool allDigits(QByteArrayView text)
{
    if (text.isEmpty()) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

QByteArrayView withoutLeadingZeros(QByteArrayView digits)
{
    while (digits.size() > 1 && digits.front() == '0') {
        digits = digits.sliced(1);
    }
    return digits;
}

// The items of a comma-separated header value, without the spaces around them.
QList<QByteArrayView> listItems(QByteArrayView value)
{
    QList<QByteArrayView> items;
    qsizetype start = 0;
    while (start <= value.size()) {
        qsizetype comma = value.indexOf(',', start);
        if (comma < 0) {
            comma = value.size();
        }
        const QByteArrayView item = trimmedSpace(value.sliced(start, comma - start));
        if (!item.isEmpty()) {
            items.append(item);
        }
        start = comma + 1;
    }
    return items;
}

} // namespace

HttpRequestParser::HttpRequestParser(qsizetype maxBody)
    : m_maxBody(maxBody)
{
}

void HttpRequestParser::reset()
{
    *this = HttpRequestParser(m_maxBody);
}

QByteArray HttpRequestParser::header(QByteArrayView name) const
{
    for (const auto &[headerName, value] : m_headers) {
        if (headerName == name) {
            return value;
        }
    }
    return QByteArray();
}

bool HttpRequestParser::connectionHas(QByteArrayView option) const
{
    for (const auto &[name, value] : m_headers) {
        if (name != "connection") {
            continue;
        }
        for (QByteArrayView item : listItems(value)) {
            if (item.compare(option, Qt::CaseInsensitive) == 0) {
                return true;
            }
        }
    }
    return false;
}

bool HttpRequestParser::keepAlive() const
{
    if (connectionHas("close")) {
        return false;
    }
    return m_http11 || connectionHas("keep-alive");
}

bool HttpRequestParser::asksForWebSocket() const
{
    return header("upgrade").compare("websocket", Qt::CaseInsensitive) == 0;
}

bool HttpRequestParser::expectsContinue() const
{
    return m_http11 && header("expect").compare("100-continue", Qt::CaseInsensitive) == 0;
}

void HttpRequestParser::fail(int status, const QString &reason)
{
    m_stage = Stage::Failed;
    m_part = Part::Done;
    m_failureStatus = status;
    m_failureReason = reason;
    m_line.clear();
}

qsizetype HttpRequestParser::lineBudget() const
{
    switch (m_part) {
    case Part::RequestLine:
    case Part::Headers:
    case Part::Trailers:
        return MaxHead - m_headBytes;
    case Part::ChunkSize:
        return MaxChunkSizeLine;
    case Part::ChunkEnd:
        return 2;
    default:
        return 0;
    }
}

qsizetype HttpRequestParser::feed(QByteArrayView bytes)
{
    qsizetype taken = 0;
    while (taken < bytes.size() && (m_stage == Stage::Head || m_stage == Stage::Body)) {
        m_started = true;
        if (m_part == Part::Length || m_part == Part::ChunkData) {
            const auto count = static_cast<qsizetype>(qMin<qint64>(m_remaining, bytes.size() - taken));
            m_body.append(bytes.sliced(taken, count));
            taken += count;
            m_remaining -= count;
            if (m_remaining == 0) {
                if (m_part == Part::Length) {
                    m_part = Part::Done;
                    m_stage = Stage::Complete;
                } else {
                    m_part = Part::ChunkEnd;
                }
            }
            continue;
        }
        const auto *newline = static_cast<const char *>(std::memchr(bytes.data() + taken, '\n', bytes.size() - taken));
        const qsizetype end = newline ? newline - bytes.data() + 1 : bytes.size();
        if (m_line.size() + (end - taken) > lineBudget()) {
            if (m_part == Part::ChunkSize || m_part == Part::ChunkEnd) {
                fail(400, QStringLiteral("チャンクの区切りが読めません"));
            } else {
                fail(431, QStringLiteral("ヘッダーが大きすぎます（%1 バイトまで）").arg(MaxHead));
            }
            return taken;
        }
        m_line.append(bytes.sliced(taken, end - taken));
        taken = end;
        if (!newline) {
            break;
        }
        takeLine(std::exchange(m_line, QByteArray()));
    }
    return taken;
}

void HttpRequestParser::takeLine(QByteArrayView line)
{
    if (m_part == Part::RequestLine || m_part == Part::Headers || m_part == Part::Trailers) {
        m_headBytes += line.size();
    }
    // Lines end in CR LF and nothing else: the WebSocket server, which reads
    // an upgrade's head again, looks for the same end.
    if (!line.endsWith("\r\n")) {
        fail(400, QStringLiteral("行の終わりは CR LF にしてください"));
        return;
    }
    line.chop(2);
    for (char c : line) {
        if (isControl(c)) {
            fail(400, QStringLiteral("要求に制御文字があります"));
            return;
        }
    }
    switch (m_part) {
    case Part::RequestLine:
        readRequestLine(line);
        break;
    case Part::Headers:
        readHeader(line);
        break;
    case Part::ChunkSize:
        readChunkSize(line);
        break;
    case Part::ChunkEnd:
        if (!line.isEmpty()) {
            fail(400, QStringLiteral("チャンクの区切りが読めません"));
            return;
        }
        m_part = Part::ChunkSize;
        break;
    case Part::Trailers:
        if (line.isEmpty()) {
            m_part = Part::Done;
            m_stage = Stage::Complete;
        } else if (const qsizetype colon = line.indexOf(':'); colon <= 0 || !isToken(line.first(colon))) {
            fail(400, QStringLiteral("本文の後のヘッダーが読めません"));
        }
        break;
    default:
        break;
    }
}

void HttpRequestParser::readRequestLine(QByteArrayView line)
{
    // Empty lines before a request are skipped, as clients may send one
    // after the body of the request before.
    if (line.isEmpty()) {
        return;
    }
    const qsizetype firstSpace = line.indexOf(' ');
    const qsizetype lastSpace = line.lastIndexOf(' ');
    if (firstSpace <= 0 || lastSpace <= firstSpace + 1
        || line.sliced(firstSpace + 1, lastSpace - firstSpace - 1).contains(' ')) {
        fail(400, QStringLiteral("要求行が読めません"));
        return;
    }
    const QByteArrayView method = line.first(firstSpace);
    const QByteArrayView target = line.sliced(firstSpace + 1, lastSpace - firstSpace - 1);
    const QByteArrayView version = line.sliced(lastSpace + 1);
    if (!isToken(method) || !target.startsWith('/')) {
        fail(400, QStringLiteral("要求行が読めません"));
        return;
    }
    for (char c : target) {
        if (c <= ' ' || static_cast<unsigned char>(c) >= 0x7f) {
            fail(400, QStringLiteral("アドレスに使えない文字があります"));
            return;
        }
    }
    if (version == "HTTP/1.1" || version == "HTTP/1.0") {
        m_http11 = version == "HTTP/1.1";
    } else if (version.size() == 8 && version.startsWith("HTTP/") && version[6] == '.') {
        fail(505, QStringLiteral("HTTP/1.1 で送ってください"));
        return;
    } else {
        fail(400, QStringLiteral("要求行が読めません"));
        return;
    }
    m_method = method.toByteArray();
    m_target = target.toByteArray();
    m_part = Part::Headers;
}

void HttpRequestParser::readHeader(QByteArrayView line)
{
    if (line.isEmpty()) {
        endHead();
        return;
    }
    // A line that continues the one before it (an old folding) could be
    // read two ways.
    const qsizetype colon = line.indexOf(':');
    if (isSpace(line.front()) || colon <= 0 || !isToken(line.first(colon))) {
        fail(400, QStringLiteral("ヘッダーが読めません"));
        return;
    }
    m_headers.append({line.first(colon).toByteArray().toLower(), trimmedSpace(line.sliced(colon + 1)).toByteArray()});
}

void HttpRequestParser::endHead()
{
    int hosts = 0;
    bool hasLength = false;
    QByteArrayView length;
    bool hasTransferEncoding = false;
    QByteArray transferCodings;
    for (const auto &[name, value] : m_headers) {
        if (name == "host") {
            ++hosts;
        } else if (name == "content-length") {
            // Every length given, also in a list, must be the same one: two
            // readers of the request must not see two bodies in it.
            const QList<QByteArrayView> items = listItems(value);
            if (items.isEmpty()) {
                fail(400, QStringLiteral("Content-Length が読めません"));
                return;
            }
            for (QByteArrayView item : items) {
                if (!allDigits(item)) {
                    fail(400, QStringLiteral("Content-Length が読めません"));
                    return;
                }
                item = withoutLeadingZeros(item);
                if (hasLength && item != length) {
                    fail(400, QStringLiteral("Content-Length が二つあり、違います"));
                    return;
                }
                hasLength = true;
                length = item;
            }
        } else if (name == "transfer-encoding") {
            hasTransferEncoding = true;
            transferCodings += ',' + value;
        }
    }
    if (hosts > 1 || (m_http11 && hosts == 0)) {
        fail(400, QStringLiteral("Host ヘッダーは一つだけ送ってください"));
        return;
    }
    if (hasTransferEncoding) {
        if (hasLength) {
            fail(400, QStringLiteral("Content-Length と Transfer-Encoding は一緒に送れません"));
            return;
        }
        if (!m_http11) {
            fail(400, QStringLiteral("HTTP/1.0 に Transfer-Encoding はありません"));
            return;
        }
        const QList<QByteArrayView> codings = listItems(transferCodings);
        if (codings.isEmpty() || codings.back().compare("chunked", Qt::CaseInsensitive) != 0) {
            fail(400, QStringLiteral("Transfer-Encoding が読めません"));
            return;
        }
        if (codings.size() > 1) {
            fail(501, QStringLiteral("Transfer-Encoding は chunked だけです"));
            return;
        }
        m_chunked = true;
    } else if (hasLength) {
        m_contentLength = length.size() > MaxLengthDigits ? -1 : length.toLongLong();
    }
    m_stage = Stage::HeadRead;
    m_part = Part::Done;
}

void HttpRequestParser::readBody()
{
    if (m_stage != Stage::HeadRead) {
        return;
    }
    if (m_chunked) {
        m_stage = Stage::Body;
        m_part = Part::ChunkSize;
        return;
    }
    if (m_contentLength < 0 || m_contentLength > m_maxBody) {
        fail(413, QStringLiteral("本文が大きすぎます（%1 バイトまで）").arg(m_maxBody));
        return;
    }
    if (m_contentLength == 0) {
        m_stage = Stage::Complete;
        return;
    }
    m_body.reserve(m_contentLength);
    m_remaining = m_contentLength;
    m_stage = Stage::Body;
    m_part = Part::Length;
}

void HttpRequestParser::readChunkSize(QByteArrayView line)
{
    const qsizetype extension = line.indexOf(';');
    const QByteArrayView digits = trimmedSpace(extension < 0 ? line : line.first(extension));
    bool hex = !digits.isEmpty();
    for (char c : digits) {
        hex = hex && ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
    }
    if (!hex) {
        fail(400, QStringLiteral("チャンクの大きさが読めません"));
        return;
    }
    const QByteArrayView significant = withoutLeadingZeros(digits);
    const qint64 size = significant.size() > MaxChunkSizeDigits ? -1 : significant.toLongLong(nullptr, 16);
    if (size == 0) {
        m_headBytes = 0;
        m_part = Part::Trailers;
        return;
    }
    if (size < 0 || m_body.size() + size > m_maxBody) {
        fail(413, QStringLiteral("本文が大きすぎます（%1 バイトまで）").arg(m_maxBody));
        return;
    }
    m_remaining = size;
    m_part = Part::ChunkData;
}
