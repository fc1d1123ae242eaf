#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

// Today and now, from one place so that tests can fix them.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
    QTime time() const { return now().time(); }
};

class SystemClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// A clock that stands still at the moment it is given (tests).
class FixedClock : public Clock {
public:
    explicit FixedClock(QDateTime moment) : moment_(std::move(moment)) {}
    QDateTime now() const override { return moment_; }
    void set(const QDateTime& moment) { moment_ = moment; }

private:
    QDateTime moment_;
};
