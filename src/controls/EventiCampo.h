#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>

class QKeyEvent;
class QWidget;

// Gives the fields of a window the got-focus, lost-focus and key handlers that its routines
// are written for. A field is entered whenever it gets the focus, the window opening on it
// included, and left only when the focus moves to another control of the same window: focus
// leaving or coming back because another window (a message box, the VAT code lookup) takes or
// gives back the activation is not reported.
class EventiCampo : public QObject {
    Q_OBJECT
  public:
    struct Gestori {
        std::function<void()> entra;
        std::function<void()> esce;
        // True when the key has been handled or refused and must not reach the field.
        std::function<bool(QKeyEvent*)> tasto;
    };

    using QObject::QObject;

    void collega(QWidget* campo, Gestori gestori);

  protected:
    bool eventFilter(QObject* oggetto, QEvent* event) override;

  private:
    void lascia(QWidget* campo);

    QHash<QObject*, Gestori> gestori_;
    QPointer<QWidget> attivo_;    // the field whose got-focus handler ran last
    QObject* inoltro_ = nullptr;  // the field handling a focus event of its own
};
