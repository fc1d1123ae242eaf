#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <atomic>

// A relay on 127.0.0.1 between the program and a PostgreSQL server, in a thread of its own
// (the program waits for its answers in the test's thread). Armed with taglia(), it cuts the
// connection that sends the next COMMIT: before passing it on (the server rolls back), or
// after the server has answered that the commit is done, without passing that answer on.
// The conversation must not be encrypted (sslmode=disable).
class Staffetta : public QThread {
  public:
    enum class Taglio { Nessuno, PrimaDelCommit, DopoIlCommit };

    explicit Staffetta(quint16 portaServer) : portaServer_(portaServer) {
        start();
        pronta_.acquire();
    }
    ~Staffetta() override {
        quit();
        wait();
    }

    quint16 porta() const { return porta_; }
    void taglia(Taglio taglio) { taglio_ = taglio; }
    // True once the armed cut has happened (the relay is then disarmed).
    bool tagliata() const { return taglio_ == Taglio::Nessuno; }

  protected:
    void run() override {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        porta_ = server.serverPort();
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this, &server] {
            while (QTcpSocket* programma = server.nextPendingConnection()) {
                collega(programma);
            }
        });
        pronta_.release();
        exec();
    }

  private:
    void collega(QTcpSocket* programma) {
        auto* verso = new QTcpSocket(programma);
        verso->connectToHost(QHostAddress::LocalHost, portaServer_);
        if (!verso->waitForConnected(5000)) {
            programma->abort();
            return;
        }
        auto attesaRisposta = std::make_shared<bool>(false);
        const auto chiudi = [programma, verso] {
            verso->abort();
            programma->abort();
            programma->deleteLater();
        };
        QObject::connect(programma, &QTcpSocket::readyRead, verso, [=, this] {
            const QByteArray dati = programma->readAll();
            if (dati.contains(kCommit) && taglio_ == Taglio::PrimaDelCommit) {
                taglio_ = Taglio::Nessuno;
                chiudi();
                return;
            }
            if (dati.contains(kCommit) && taglio_ == Taglio::DopoIlCommit) {
                *attesaRisposta = true;
            }
            verso->write(dati);
        });
        QObject::connect(verso, &QTcpSocket::readyRead, programma, [=, this] {
            const QByteArray dati = verso->readAll();
            if (*attesaRisposta && dati.contains(kCommitFatto)) {
                taglio_ = Taglio::Nessuno;
                chiudi();
                return;
            }
            programma->write(dati);
        });
        QObject::connect(programma, &QTcpSocket::disconnected, verso, [verso] { verso->abort(); });
        QObject::connect(verso, &QTcpSocket::disconnected, programma,
                         [programma] { programma->abort(); });
    }

    // The simple-protocol message "COMMIT" and the server's "command complete" for it.
    inline static const QByteArray kCommit{
        "Q\0\0\0\x0b"
        "COMMIT\0",
        12};
    inline static const QByteArray kCommitFatto{
        "C\0\0\0\x0b"
        "COMMIT\0",
        12};

    quint16 portaServer_;
    quint16 porta_ = 0;
    QSemaphore pronta_;
    std::atomic<Taglio> taglio_{Taglio::Nessuno};
};
