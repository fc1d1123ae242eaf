#pragma once

#include <QString>
#include <QVariantList>
#include <future>
#include <thread>

// Another computer in the middle of a write: on a connection of its own (in a thread of its
// own) it runs one statement in a transaction and commits only `attesaMs` later, so that
// what the test does meanwhile meets its write still uncommitted, the way two computers do
// the same first write at the same moment.
class AltroComputer {
public:
    AltroComputer(const QString& archivio, const QString& sql, const QVariantList& valori,
                  int attesaMs = 300);
    ~AltroComputer();
    AltroComputer(const AltroComputer&) = delete;
    AltroComputer& operator=(const AltroComputer&) = delete;

    // Waits for the commit; true when the other computer's write was stored.
    bool concluso();

private:
    std::thread thread_;
    std::future<bool> esito_;
};
