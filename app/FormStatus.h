#pragma once
// The small window shown while the reader starts.

#include <QWidget>

class QLabel;

namespace app {

class TformStatus : public QWidget {
  public:
    TformStatus();
    QLabel* lStatus;

  private:
    void FormCreate();
};

}  // namespace app
