// The windows the program creates at start whose content is still to come: each exists once with
// its class, caption and size, ready to be filled in.
#pragma once

#include <QDialog>
#include <QWidget>

namespace dudodu {

class TfrmCLASSROOM : public QDialog {
  public:
    explicit TfrmCLASSROOM(QWidget* parent = nullptr);
};

class TfrmTeacher : public QDialog {
  public:
    explicit TfrmTeacher(QWidget* parent = nullptr);
};

class TfrmRULE : public QWidget {
  public:
    explicit TfrmRULE(QWidget* parent = nullptr);
};

class TfrmINSPECTION : public QWidget {
  public:
    explicit TfrmINSPECTION(QWidget* parent = nullptr);
};

class TfrmBelong : public QDialog {
  public:
    explicit TfrmBelong(QWidget* parent = nullptr);
};

class TfrmCrs : public QDialog {
  public:
    explicit TfrmCrs(QWidget* parent = nullptr);
};

class TFormfeatures : public QDialog {
  public:
    explicit TFormfeatures(QWidget* parent = nullptr);
};

} // namespace dudodu
