#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>
#include <QString>

// One HTTP/1.1 request read from a connection as its bytes arrive, with the
// limits checked before more is kept: the request line and headers (the head)
// up to MaxHead bytes, a body up to `maxBody` bytes, given by Content-Length
// or sent in chunks. It stops after the head, so that the caller can refuse
// the request before any of its body is read, and it takes nothing beyond the
// end of its request: what follows (the next request, a WebSocket's frames)
// stays unread. It knows nothing of the network; its connection feeds it.
class HttpRequestParser
{
public:
    static constexpr qsizetype MaxHead = 16 * 1024;

    enum class Stage {
        // Reading the request line and the headers.
        Head,
        // The head is read and may be asked about; nothing more is taken
        // until readBody().
        HeadRead,
        // Reading the body.
        Body,
        // The whole request is read.
        Complete,
        // The request cannot be read: failureStatus() and failureReason() say
        // how to answer. Nothing more is taken.
        Failed,
    };

    explicit HttpRequestParser(qsizetype maxBody);

    // Takes what it can of `bytes`, from their start, and returns how many it
    // took: in the head and the body every byte until the stage changes.
    qsizetype feed(QByteArrayView bytes);
    // After the head: goes on to the body, or fails with 413 when the body
    // given by Content-Length is too large.
    void readBody();
    // Forgets this request and waits for the next one.
    void reset();

    Stage stage() const { return m_stage; }
    // Whether any byte of this request has been taken.
    bool hasStarted() const { return m_started; }
    int failureStatus() const { return m_failureStatus; }
    const QString &failureReason() const { return m_failureReason; }

    // The head, from HeadRead on.
    const QByteArray &method() const { return m_method; }
    // The request target as sent ("/api/state?token=...").
    const QByteArray &target() const { return m_target; }
    bool isHttp11() const { return m_http11; }
    // The value of the first header called `name` (in lower case); empty
    // when there is none.
    QByteArray header(QByteArrayView name) const;
    // Whether the Connection header lists `option` (in lower case).
    bool connectionHas(QByteArrayView option) const;
    // Whether the connection may carry another request after this one.
    bool keepAlive() const;
    // Upgrade: websocket.
    bool asksForWebSocket() const;
    // Expect: 100-continue, from an HTTP/1.1 client.
    bool expectsContinue() const;
    bool hasBody() const { return m_chunked || m_contentLength > 0; }

    // The body, when Complete.
    const QByteArray &body() const { return m_body; }

private:
    enum class Part { RequestLine, Headers, Length, ChunkSize, ChunkData, ChunkEnd, Trailers, Done };

    void takeLine(QByteArrayView line);
    void readRequestLine(QByteArrayView line);
    void readHeader(QByteArrayView line);
    void readChunkSize(QByteArrayView line);
    void endHead();
    void fail(int status, const QString &reason);
    qsizetype lineBudget() const;

    qsizetype m_maxBody;
    Stage m_stage = Stage::Head;
    Part m_part = Part::RequestLine;
    bool m_started = false;
    int m_failureStatus = 0;
    QString m_failureReason;
    // The line being read, until its end arrives.
    QByteArray m_line;
    // The bytes of the lines of the head (or of the trailers) read so far.
    qsizetype m_headBytes = 0;

    QByteArray m_method;
    QByteArray m_target;
    bool m_http11 = true;
    QList<QPair<QByteArray, QByteArray>> m_headers;
    // Content-Length, or -1 when it is larger than any body we take.
    qint64 m_contentLength = 0;
    bool m_chunked = false;
    // What is left of the body given by Content-Length, or of this chunk.
    qint64 m_remaining = 0;
    QByteArray m_body;
};
