#pragma once

#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>

namespace varnex::test {

// A small HTTP server on 127.0.0.1 that answers each path with a fixed response; a path
// without a response gets no answer at all.
class LoopbackServer : public QObject {
public:
    LoopbackServer() {
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { Answer(socket); });
            }
        });
    }
    quint16 Port() const { return server_.serverPort(); }
    QString Url(const QString& path, const QString& host = "127.0.0.1") const {
        return QString("http://%1:%2%3").arg(host).arg(Port()).arg(path);
    }
    void Serve(const QString& path, int status, const QByteArray& body, const QByteArray& extraHeaders = {}) {
        responses_[path] = "HTTP/1.1 " + QByteArray::number(status) +
                           " Status\r\nContent-Type: text/html\r\n" + extraHeaders +
                           "Content-Length: " + QByteArray::number(body.size()) +
                           "\r\nConnection: close\r\n\r\n" + body;
    }
    QStringList requested;

private:
    void Answer(QTcpSocket* socket) {
        const QByteArray request = socket->readAll();
        const QString path = QString::fromLatin1(request.split(' ').value(1));
        requested << path;
        if (!responses_.contains(path)) return;  // a server that never answers
        socket->write(responses_[path]);
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    QMap<QString, QByteArray> responses_;
};

}  // namespace varnex::test
