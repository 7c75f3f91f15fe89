// The wire protocol between the client and dudodu-server, shared by both ends.
//
// A frame is a 4-byte big-endian length (of everything after it), a version byte, a flags byte and
// a CBOR payload. With the compressed flag the payload is a 4-byte big-endian uncompressed size
// followed by zlib data. Each payload is one CBOR map whose key "t" names the message.
#pragma once

#include "db/ResultTable.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <variant>

namespace dudodu::protocol {

inline constexpr quint8 kVersion = 1;
inline constexpr qsizetype kLengthBytes = 4;
inline constexpr qsizetype kDefaultCompressThreshold = 8 * 1024;
// A client accepts replies up to this size (a large department list with all its columns fits
// many times over); the server sets its own, smaller limit for what clients send.
inline constexpr qsizetype kClientMaxFrameBytes = 512 * 1024 * 1024;

enum class MessageType : int { Login = 1, LoginVerdict = 2, Execute = 3, Result = 4, Closing = 5 };

struct LoginRequest {
    QString account;
    QString password;
    QString application;
    QString version;
};

struct LoginVerdict {
    bool accepted = false;
    QString text; // why a login was refused
};

struct ExecuteRequest {
    QString batch;
    bool wantRows = true; // false: the reply carries no row sets
};

// The server ends the session and says why.
struct Closing {
    QString reason;
};

using Message = std::variant<LoginRequest, LoginVerdict, ExecuteRequest, TBatchReply, Closing>;

QString messageName(const Message& message);

// One whole frame; payloads larger than compressThreshold bytes are compressed.
QByteArray encodeFrame(const Message& message, qsizetype compressThreshold = kDefaultCompressThreshold);

struct Decoded {
    enum class Status { Incomplete, Frame, Bad };
    Status status = Status::Incomplete;
    Message message;
    qsizetype consumed = 0; // bytes of the frame, when status is Frame
    QString error;          // when status is Bad
};

// Decodes the frame at the front of buffer. Incomplete means more bytes are needed; a frame (or
// its uncompressed payload) over maxFrameBytes is Bad as soon as its length is known, so a peer
// cannot make the other end buffer it.
Decoded decodeFrame(QByteArrayView buffer, qsizetype maxFrameBytes);

} // namespace dudodu::protocol
